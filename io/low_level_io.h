// ILowLevelIo: the unbuffered byte transport of an I/O session, underneath the
// formatted I/O buffers. Reads return S_OK when they ended at END or at the
// enabled termination character, S_MORE_DATA when they stopped at the count.
// The "NoPoll" forms never run the instrument status poll; the others call it
// after the transfer.
#pragma once

#include <cstdint>
#include <string>

#include "io/io_status.h"
#include "platform/com/bstr.h"
#include "platform/com/safearray.h"

namespace motqr::io {

class ILowLevelIo {
 public:
  virtual HRESULT SetTerminationCharacterEnabled(bool enabled) = 0;
  virtual HRESULT GetTerminationCharacterEnabled(bool* enabled) = 0;
  virtual HRESULT SetSendEndEnabled(bool enabled) = 0;
  virtual HRESULT GetSendEndEnabled(bool* enabled) = 0;
  virtual HRESULT LowLevelRead(std::int32_t count, com::SAFEARRAY** data, std::int32_t timeout) = 0;
  virtual HRESULT LowLevelRead(std::uint8_t* buffer, std::int32_t count, std::int32_t* read,
                               std::int32_t timeout) = 0;
  virtual HRESULT LowLevelReadNoPoll(std::int32_t count, com::SAFEARRAY** data,
                                     std::int32_t timeout) = 0;
  virtual HRESULT LowLevelReadNoPoll(std::uint8_t* buffer, std::int32_t count, std::int32_t* read,
                                     std::int32_t timeout) = 0;
  virtual HRESULT LowLevelReadString(std::int32_t count, com::BSTR* text, std::int32_t timeout) = 0;
  virtual HRESULT LowLevelReadString(std::int32_t count, std::string* text,
                                     std::int32_t timeout) = 0;
  virtual HRESULT LowLevelReadStringNoPoll(std::int32_t count, com::BSTR* text,
                                           std::int32_t timeout) = 0;
  virtual HRESULT LowLevelReadStringNoPoll(std::int32_t count, std::string* text,
                                           std::int32_t timeout) = 0;
  virtual HRESULT LowLevelWrite(com::SAFEARRAY* data, std::int32_t count, std::int32_t* written,
                                std::int32_t timeout) = 0;
  virtual HRESULT LowLevelWrite(const std::uint8_t* buffer, std::int32_t count,
                                std::int32_t* written, std::int32_t timeout) = 0;
  virtual HRESULT LowLevelWriteNoPoll(com::SAFEARRAY* data, std::int32_t count,
                                      std::int32_t* written, std::int32_t timeout) = 0;
  virtual HRESULT LowLevelWriteNoPoll(const std::uint8_t* buffer, std::int32_t count,
                                      std::int32_t* written, std::int32_t timeout) = 0;
  virtual HRESULT LowLevelWriteString(const char16_t* text, std::int32_t* written,
                                      std::int32_t timeout) = 0;
  virtual HRESULT LowLevelWriteString(const std::string& text, std::int32_t* written,
                                      std::int32_t timeout) = 0;
  virtual HRESULT LowLevelWriteStringNoPoll(const char16_t* text, std::int32_t* written,
                                            std::int32_t timeout) = 0;
  virtual HRESULT LowLevelWriteStringNoPoll(const std::string& text, std::int32_t* written,
                                            std::int32_t timeout) = 0;

 protected:
  ~ILowLevelIo() = default;
};

}  // namespace motqr::io
