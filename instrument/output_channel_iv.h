// IMorvaneTqrOutputChannelIV: the current map (CC mode) and the voltage map
// (CV mode) of I-V points -- point editing, counts, the catalogue, and the
// whole map as a binary block of micro-units.
#pragma once

#include <cstdint>

#include "driver/member_macros.h"
#include "instrument/member_shapes.h"
#include "interfaces/output_channel.h"

// (type, name, query, reply, set, sim)
#define MOTQR_IV_PROPERTIES(P)                                                              \
  P(std::int32_t, CurrentIVPointCount, ":CURR:IV:COUN?", nullptr, ":CURR:IV:COUN %d", kYes) \
  P(std::int32_t, VoltageIVPointCount, ":VOLT:IV:COUN?", nullptr, ":VOLT:IV:COUN %d", kYes)

// (name, command)
#define MOTQR_IV_COMMANDS(C)           \
  C(ClearCurrentIVMap, ":CURR:IV:CLE") \
  C(ClearVoltageIVMap, ":VOLT:IV:CLE")

// (name, command, Index)
#define MOTQR_IV_SET_1(S)                                            \
  S(InsertCurrentIVPoint, ":CURR:IV:MAP%d:INS", std::int32_t, Index) \
  S(DeleteCurrentIVPoint, ":CURR:IV:MAP%d:DEL", std::int32_t, Index) \
  S(InsertVoltageIVPoint, ":VOLT:IV:MAP%d:INS", std::int32_t, Index) \
  S(DeleteVoltageIVPoint, ":VOLT:IV:MAP%d:DEL", std::int32_t, Index)

// (name, command, Index, Voltage, Current)
#define MOTQR_IV_SET_3(S)                                                                    \
  S(SetCurrentIVPoint, ":CURR:IV:MAP%d %0.6lg,%0.6lg", std::int32_t, Index, double, Voltage, \
    double, Current)                                                                         \
  S(SetVoltageIVPoint, ":VOLT:IV:MAP%d %0.6lg,%0.6lg", std::int32_t, Index, double, Voltage, \
    double, Current)

// (name, query, reply, out name)
#define MOTQR_IV_LISTS(L)                                          \
  L(GetAllCurrentIVPoints, ":CURR:IV:CAT?", "%,$Sle", "AllPoints") \
  L(GetAllVoltageIVPoints, ":VOLT:IV:CAT?", "%,$Sle", "AllPoints")

// The bulk maps: (name, query, reply) and (name, command). The queries are
// written as they stand, new line included, without formatting.
#define MOTQR_IV_MAP_QUERIES(M)                   \
  M(GetCurrentIVMap, ":CURR:IV:DATA?\n", "%$Slb") \
  M(GetVoltageIVMap, ":VOLT:IV:DATA?\n", "%$Slb")
#define MOTQR_IV_MAP_SETS(M)                \
  M(SetCurrentIVMap, ":CURR:IV:DATA %$Slb") \
  M(SetVoltageIVMap, ":VOLT:IV:DATA %$Slb")

namespace motqr::instrument {

// How the words of a map read back are taken.
enum class IVWord { kUnsigned, kSigned };

// Reads a map with `row` into the caller's array of doubles, at the indexes it has.
com::HRESULT GetIVMap(driver::CallFrame& f, const driver::MethodRow& row, IVWord word,
                      com::SAFEARRAY** values, const char* name);
// Sends the map `data` (doubles) with `row` as one block word per value.
com::HRESULT SetIVMap(driver::CallFrame& f, const driver::MethodRow& row, com::SAFEARRAY* data);

// The 32-bit word of a map value: value times 1 000 000 rounded half away
// from zero; 0 when not finite or out of the signed 32-bit range.
std::int32_t IVMapWord(double value);

#define MOTQR_IV_MAP_ROW(Name, Command, Reply) \
  inline constexpr driver::MethodRow k##Name##Row{Command, Reply};
MOTQR_IV_MAP_QUERIES(MOTQR_IV_MAP_ROW)
#undef MOTQR_IV_MAP_ROW
#define MOTQR_IV_MAP_ROW(Name, Command) \
  inline constexpr driver::MethodRow k##Name##Row{Command, nullptr};
MOTQR_IV_MAP_SETS(MOTQR_IV_MAP_ROW)
#undef MOTQR_IV_MAP_ROW

template <class Self>
class OutputChannelIV : public driver::MemberSet<Self, IMorvaneTqrOutputChannelIV> {
 public:
  using Interface = IMorvaneTqrOutputChannelIV;
  MOTQR_IV_PROPERTIES(MOTQR_MEMBER_PROPERTY)
  MOTQR_IV_COMMANDS(MOTQR_MEMBER_COMMAND)
  MOTQR_IV_SET_1(MOTQR_MEMBER_SET_1)
  MOTQR_IV_SET_3(MOTQR_MEMBER_SET_3)
  MOTQR_IV_LISTS(MOTQR_MEMBER_LIST_0)

  com::HRESULT GetCurrentIVMap(com::SAFEARRAY** Current) override {
    return Run<"GetCurrentIVMap">([&](driver::CallFrame& f) {
      return GetIVMap(f, kGetCurrentIVMapRow, IVWord::kUnsigned, Current, "Current");
    });
  }
  com::HRESULT GetVoltageIVMap(com::SAFEARRAY** Voltage) override {
    return Run<"GetVoltageIVMap">([&](driver::CallFrame& f) {
      return GetIVMap(f, kGetVoltageIVMapRow, IVWord::kSigned, Voltage, "Voltage");
    });
  }
  com::HRESULT SetCurrentIVMap(com::SAFEARRAY* Data) override {
    return Run<"SetCurrentIVMap">([&](driver::CallFrame& f) -> com::HRESULT {
      MOTQR_RETURN_IF_FAILED(f.Trace(trace::InParameter("Data", Data)));
      return SetIVMap(f, kSetCurrentIVMapRow, Data);
    });
  }
  com::HRESULT SetVoltageIVMap(com::SAFEARRAY* Data) override {
    return Run<"SetVoltageIVMap">([&](driver::CallFrame& f) -> com::HRESULT {
      MOTQR_RETURN_IF_FAILED(f.Trace(trace::InParameter("Data", Data)));
      return SetIVMap(f, kSetVoltageIVMapRow, Data);
    });
  }

 protected:
  ~OutputChannelIV() = default;

 private:
  template <driver::FixedString M, class Body>
  com::HRESULT Run(Body&& body) {
    return driver::RunFrame(this->node(), driver::Describe<Interface, M>(),
                            driver::Check::kInitialized, body);
  }
};

inline constexpr driver::RowView kIVRows[] = {
    MOTQR_IV_PROPERTIES(MOTQR_ROW_VIEW_PROPERTY) MOTQR_IV_COMMANDS(MOTQR_ROW_VIEW_COMMAND)
        MOTQR_IV_SET_1(MOTQR_ROW_VIEW_SET) MOTQR_IV_SET_3(MOTQR_ROW_VIEW_SET)
            MOTQR_IV_LISTS(MOTQR_ROW_VIEW_GET) MOTQR_IV_MAP_QUERIES(MOTQR_ROW_VIEW_GET)
                MOTQR_IV_MAP_SETS(MOTQR_ROW_VIEW_SET)};

}  // namespace motqr::instrument
