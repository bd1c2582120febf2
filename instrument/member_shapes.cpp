#include "instrument/member_shapes.h"

#include <string>

#include "commands/find_enum_converter.h"
#include "instrument/wire_command.h"

namespace motqr::instrument {

com::HRESULT ReportPropertyNotSupported(driver::CallFrame& f, std::string_view property) {
  if (property.empty()) return f.reporter().PropertyNotSupportedCurrent();
  return f.reporter().PropertyNotSupported(property);
}

com::HRESULT SendTokenList(driver::CallFrame& f, const TokenListRow& row,
                           std::string_view interface_name, com::SAFEARRAY* values) {
  std::int32_t lower = 0, upper = -1;
  com::HRESULT hr = com::SafeArrayGetLBound(values, 1, &lower);
  if (com::Succeeded(hr)) hr = com::SafeArrayGetUBound(values, 1, &upper);
  if (com::Failed(hr)) return hr;
  if (com::SafeArrayGetDim(values) != 1) return com::E_INVALIDARG;
  if (com::SafeArrayGetElemsize(values) != sizeof(std::int32_t)) return com::DISP_E_BADVARTYPE;
  const std::string token_member =
      std::string(interface_name) + "." + std::string(row.token_member);
  const commands::IEnumCommandConverter* tokens =
      commands::FindEnumConverter(row.enum_name, token_member);
  if (!tokens) return f.reporter().CannotRecover("No token table for the terminal list.");

  std::string command = row.header;
  std::string token;
  for (std::int64_t i = lower; i <= upper; ++i) {
    const auto index = static_cast<std::int32_t>(i);
    std::int32_t value = 0;
    MOTQR_RETURN_IF_FAILED(com::SafeArrayGetElement(values, &index, &value));
    // A value without a token keeps its position as an empty item.
    if (tokens->GetCommand(f.driver().instrument_model(), value, &token)) command += token;
    if (i < upper) command += ',';
  }
  return SendCommand(f, std::move(command));
}

}  // namespace motqr::instrument
