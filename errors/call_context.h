// Which interface member is running: the method descriptor of the innermost
// call, as the error reporter and the enumeration converters need it.
#pragma once

#include <string>

#include "platform/com/types.h"

namespace motqr::errors {

// One static record per interface member, built once on the member's first call.
struct MethodDescriptor {
  com::IID iid;
  const char* interface_name;  // "IIviDCPwrOutput"
  const char* member_name;     // as called: "get_VoltageLevel"
  std::string qualified_name;  // "IIviDCPwrOutput.VoltageLevel"
};

// Builds the qualified name: "<interface>.<member>" with a leading "get_" or
// "put_" removed from the member name.
std::string QualifiedMemberName(const char* interface_name, const char* member_name);

class ICallContextProvider {
 public:
  // The descriptor of the innermost call in progress, or null when none is.
  virtual const MethodDescriptor* GetCallContext() = 0;

 protected:
  ~ICallContextProvider() = default;
};

}  // namespace motqr::errors
