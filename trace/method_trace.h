// CMethodTrace: the record of one traced call. Enter writes the entry part
// (the "Method" start tag with its five attributes and the input
// parameters), Exit the exit part (the output parameters, "HRESULT" with the
// error text on failure, "Execution", the end tag). Calls made in between
// nest inside the record.
//
//   <Method Name="put_VoltageLevel" Interface="IIviDCPwrOutput" StartTime="13:2:9:417"
//           Thread="4711" Timestamp="1234567890123">
//     <Parameter Name="val" Direction="In" Value="5" DataType="Double"/>
//     <HRESULT Value="0x00000000"/>
//     <Execution ExecutionTime="1.234000e-06"/>
//   </Method>
//
// Output parameters are read when Exit runs, so they must outlive the record.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <system_error>

#include "platform/com/types.h"
#include "trace/parameter.h"
#include "trace/trace_writer.h"

namespace motqr::trace {

class CMethodTrace {
 public:
  // `interface_name` and `method` live for the program's whole run (the
  // method descriptor's); at most kMaxParameters parameters are kept.
  CMethodTrace(CTraceWriter& writer, const char* interface_name, const char* method,
               std::span<const Parameter> parameters);
  CMethodTrace(const CMethodTrace&) = delete;
  CMethodTrace& operator=(const CMethodTrace&) = delete;
  // A record entered and never exited is ended with E_UNEXPECTED.
  ~CMethodTrace();

  std::error_code Enter();
  std::error_code Exit(com::HRESULT result);

 private:
  std::span<const Parameter> parameters() const { return {parameters_.data(), count_}; }

  CTraceWriter& writer_;
  const char* interface_name_;
  const char* method_;
  std::array<Parameter, kMaxParameters> parameters_;
  std::size_t count_;
  std::uint64_t start_ = 0;
  std::uint64_t generation_ = 0;
  bool entered_ = false;
};

}  // namespace motqr::trace
