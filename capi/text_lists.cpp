// The functions whose results are lists of names: each returns the names as
// one comma-separated text under the text-result rules.
#include <string>

#include "capi/c_call.h"

using namespace motqr;
using namespace motqr::capi;

namespace {

// Joins the text elements of `list` with commas.
com::Bstr JoinNames(const com::SafeArray& list) {
  std::u16string joined;
  for (BSTR name : list.Data<BSTR>()) {
    if (!joined.empty()) joined += u',';
    joined += com::BstrView(name);
  }
  return com::Bstr(joined);
}

// The list of `read(SAFEARRAY**)` on interface I, joined.
template <class I, class F>
ViStatus NameList(ViSession vi, ViInt32 size, ViChar* buffer, F&& read) {
  return Guard(vi, [&]() -> ViStatus {
    com::SafeArray list;
    const ViStatus s = OnDriver<I>(vi, [&](I& i) { return read(i, list.Put()); });
    if (IsError(s)) return s;
    return CopyText(s, JoinNames(list), size, buffer);
  });
}

ViStatus TimeZones(ViSession vi, ViInt32 group, ViInt32 size, ViChar* buffer) {
  return NameList<IMorvaneTqrSystem>(
      vi, size, buffer, [&](IMorvaneTqrSystem& s, com::SAFEARRAY** list) {
        return s.GetTimeZoneList(static_cast<MorvaneTqrTimeZoneGroupEnum>(group), list);
      });
}

}  // namespace

MOTQR_C_EXPORT ViStatus motqr_QueryProgramChain(ViSession vi, ViInt32 ProgramNamesBufferSize,
                                                ViChar ProgramNames[]) {
  return NameList<IMorvaneTqrProgram>(
      vi, ProgramNamesBufferSize, ProgramNames,
      [](IMorvaneTqrProgram& p, com::SAFEARRAY** list) { return p.QueryProgramChain(list); });
}

MOTQR_C_EXPORT ViStatus motqr_GetTimeZoneList(ViSession vi, ViInt32 Group, ViInt32 ListBufferSize,
                                              ViChar List[]) {
  return TimeZones(vi, Group, ListBufferSize, List);
}

MOTQR_C_EXPORT ViStatus motqr_QueryTimeZoneList(ViSession vi, ViInt32 Group, ViInt32 ListBufferSize,
                                                ViChar List[]) {
  return TimeZones(vi, Group, ListBufferSize, List);
}

MOTQR_C_EXPORT ViStatus motqr_GetTimeZoneList2(ViSession vi, ViInt32 ListBufferSize,
                                               ViChar List[]) {
  return Guard(vi, [&]() -> ViStatus {
    std::u16string joined;
    ViStatus warning = 0;
    for (MorvaneTqrTimeZoneGroupEnum group :
         {MorvaneTqrTimeZoneGroupTimeZone1, MorvaneTqrTimeZoneGroupTimeZone2}) {
      com::SafeArray list;
      const ViStatus s = OnDriver<IMorvaneTqrSystem>(
          vi, [&](IMorvaneTqrSystem& sys) { return sys.GetTimeZoneList(group, list.Put()); });
      if (IsError(s)) return s;
      if (s != 0) warning = s;
      const com::Bstr names = JoinNames(list);
      if (!joined.empty() && names.size() != 0) joined += u',';
      joined += names.View();
    }
    return CopyText(warning, com::Bstr(joined), ListBufferSize, List);
  });
}
