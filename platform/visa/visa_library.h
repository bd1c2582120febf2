// A system VISA library loaded at run time through the VISA C API, for the resources the
// built-in transports do not serve (GPIB, USB, VXI-11, HiSLIP, ...).
//
//   std::shared_ptr<motqr::visa::VisaLibrary> library;
//   motqr::visa::Status status = motqr::visa::VisaLibrary::Get(&library);
//   ViSession vi = 0;
//   status = library->Check(library->api().viOpen(library->default_rm(), "GPIB0::5::INSTR",
//                                                 VI_NO_LOCK, 2000, &vi));
//
// The library is looked for under a fixed list of names (DefaultVisaLibraryNames); nothing is
// read from the environment. Tests replace the list in-process with SetVisaLibraryNames. The
// first library found stays loaded (with its default resource manager session open) while any
// session uses it and until the list changes.
#pragma once

#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/visa/status.h"
#include "platform/visa/visa_types.h"

namespace motqr::visa {

// The VISA C functions, with the parameter types of the VISA C headers on Linux.
struct VisaApi {
  ViStatus (*viOpenDefaultRM)(ViSession* vi) = nullptr;
  ViStatus (*viOpen)(ViSession sesn, ViConstRsrc name, ViAccessMode mode, ViUInt32 timeout,
                     ViSession* vi) = nullptr;
  ViStatus (*viClose)(ViObject vi) = nullptr;
  ViStatus (*viRead)(ViSession vi, ViPBuf buf, ViUInt32 cnt, ViUInt32* ret_cnt) = nullptr;
  ViStatus (*viWrite)(ViSession vi, ViConstBuf buf, ViUInt32 cnt, ViUInt32* ret_cnt) = nullptr;
  ViStatus (*viReadSTB)(ViSession vi, ViUInt16* status) = nullptr;
  ViStatus (*viClear)(ViSession vi) = nullptr;
  ViStatus (*viGetAttribute)(ViObject vi, ViAttr attr_name, void* attr_value) = nullptr;
  ViStatus (*viSetAttribute)(ViObject vi, ViAttr attr_name, ViAttrState attr_value) = nullptr;
  ViStatus (*viLock)(ViSession vi, ViAccessMode lock_type, ViUInt32 timeout,
                     ViConstKeyId requested_key, ViChar access_key[]) = nullptr;
  ViStatus (*viUnlock)(ViSession vi) = nullptr;
  // Optional: absent from a library they are answered without it.
  ViStatus (*viAssertTrigger)(ViSession vi, ViUInt16 protocol) = nullptr;
  ViStatus (*viStatusDesc)(ViObject vi, ViStatus status, ViChar desc[]) = nullptr;
};

class VisaLibrary {
 public:
  // The loaded library, loading it first when needed. Fails with VI_ERROR_LIBRARY_NFOUND
  // ("No VISA library was found (tried libvisa.so, ...): <loader text>") when none loads.
  static Status Get(std::shared_ptr<VisaLibrary>* library);

  ~VisaLibrary();
  VisaLibrary(const VisaLibrary&) = delete;
  VisaLibrary& operator=(const VisaLibrary&) = delete;

  const VisaApi& api() const { return api_; }
  ViSession default_rm() const { return default_rm_; }
  const std::string& name() const { return name_; }
  // `status` with the library's own description of it (viStatusDesc) when it has one.
  Status Check(ViStatus status, ViObject vi) const;

 private:
  VisaLibrary() = default;
  static Status Load(const std::string& name, std::shared_ptr<VisaLibrary>* library);

  void* handle_ = nullptr;
  VisaApi api_;
  ViSession default_rm_ = VI_NULL;
  std::string name_;
};

// The names tried, in order: "libvisa.so", "libvisa.so.7", "libiovisa.so", "librsvisa.so".
std::span<const std::string_view> DefaultVisaLibraryNames();

// Replaces the names tried (file names or paths) for this process; an empty list restores the
// defaults. The library loaded so far is dropped once no session uses it.
void SetVisaLibraryNames(std::vector<std::string> names);

}  // namespace motqr::visa
