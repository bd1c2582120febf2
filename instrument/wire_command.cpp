#include "instrument/wire_command.h"

#include <cstring>
#include <utility>

namespace motqr::instrument {

com::HRESULT WireTextWriter::WriteChar(std::uint8_t c, bool) {
  text_->push_back(static_cast<char>(c));
  return com::S_OK;
}

com::HRESULT WireTextWriter::WriteCString(const char* text, std::int32_t* written, bool) {
  if (!text) return com::E_INVALIDARG;
  const std::size_t n = std::strlen(text);
  text_->append(text, n);
  if (written) *written = static_cast<std::int32_t>(n);
  return com::S_OK;
}

com::HRESULT WireTextWriter::WriteBuffer(const std::uint8_t* buffer, std::int32_t count,
                                         std::int32_t* written, bool) {
  if (!buffer || count < 0) return com::E_INVALIDARG;
  text_->append(reinterpret_cast<const char*>(buffer), static_cast<std::size_t>(count));
  if (written) *written = count;
  return com::S_OK;
}

com::HRESULT SendCommand(driver::CallFrame& f, std::string command) {
  driver::detail::StackedCommand stacked(f.node(), std::move(command), nullptr);
  return driver::ExecuteCommand(f);
}

}  // namespace motqr::instrument
