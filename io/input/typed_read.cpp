#include "io/input/typed_read.h"

#include <charconv>
#include <cmath>
#include <string>

#include "io/input/number_reader.h"

namespace motqr::io {
namespace {

using com::Failed;

constexpr std::int32_t kNumberWidth = 100;

// The value as printf's "%e" writes it ("4.000000e+04"), whatever the locale.
std::string FormatE(double value) {
  char text[64];
  const auto [end, ec] =
      std::to_chars(text, text + sizeof text, value, std::chars_format::scientific, 6);
  return ec == std::errc() ? std::string(text, end) : std::string();
}

HRESULT Overflow(errors::IErrorReporter& reporter, double value, const char* type) {
  return reporter.IoError("Overflow or underflow reading value of '" + FormatE(value) + "' into " +
                          type + ".");
}

HRESULT ReadReal(IIoBuffer& buffer, bool discard, double* value) {
  ReplyReader reader(buffer);
  std::int32_t chars = 0;
  HRESULT hr = ReadRealField(reader, NumberForm{'e', 0, kNumberWidth}, value, &chars);
  const HRESULT settled = reader.Settle();
  if (Failed(hr)) return hr;
  if (Failed(settled)) return settled;
  if (discard) {
    hr = buffer.DiscardReadBuffer();
    if (Failed(hr)) return hr;
  }
  return com::S_OK;
}

template <class T>
HRESULT ReadInteger(IIoBuffer& buffer, errors::IErrorReporter& reporter, bool discard, T* value,
                    double low, double high, const char* type) {
  double real = 0;
  const HRESULT hr = ReadReal(buffer, discard, &real);
  if (Failed(hr)) return hr;
  if (real < low || real > high) return Overflow(reporter, real, type);
  *value = static_cast<T>(std::trunc(real));
  return com::S_OK;
}

}  // namespace

HRESULT ReadNumber(IIoBuffer& buffer, errors::IErrorReporter& reporter, bool discard,
                   std::uint8_t* value) {
  return ReadInteger(buffer, reporter, discard, value, 0, 255, "a BYTE");
}

HRESULT ReadNumber(IIoBuffer& buffer, errors::IErrorReporter& reporter, bool discard,
                   std::int16_t* value) {
  return ReadInteger(buffer, reporter, discard, value, -32768, 32767, "a short");
}

HRESULT ReadNumber(IIoBuffer& buffer, errors::IErrorReporter& reporter, bool discard,
                   std::int32_t* value) {
  return ReadInteger(buffer, reporter, discard, value, -2147483648.0, 2147483647.0, "a long");
}

HRESULT ReadNumber(IIoBuffer& buffer, errors::IErrorReporter& reporter, bool discard,
                   float* value) {
  double real = 0;
  const HRESULT hr = ReadReal(buffer, discard, &real);
  if (Failed(hr)) return hr;
  const double magnitude = std::fabs(real);
  const bool too_large = magnitude > 3.4028234663852886e38;
  const bool too_small =
      magnitude != 0 && magnitude >= 2.2250738585072014e-308 && magnitude < 1.1754943508222875e-38;
  if (too_large || too_small) return Overflow(reporter, real, "a single-precision float");
  *value = static_cast<float>(real);
  return com::S_OK;
}

HRESULT ReadNumber(IIoBuffer& buffer, errors::IErrorReporter& reporter, bool discard,
                   double* value) {
  (void)reporter;
  return ReadReal(buffer, discard, value);
}

}  // namespace motqr::io
