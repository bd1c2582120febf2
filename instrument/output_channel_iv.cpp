#include "instrument/output_channel_iv.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <span>
#include <vector>

#include "instrument/wire_command.h"

namespace motqr::instrument {
namespace {

constexpr double kMicro = 1'000'000.0;

std::uint32_t ReverseBytes(std::uint32_t w) {
  return (w >> 24) | ((w >> 8) & 0x0000FF00u) | ((w << 8) & 0x00FF0000u) | (w << 24);
}

// Each word, byte order reversed and read as a `Word`, in units (one tight loop per kind).
template <class Word>
void StoreUnits(std::span<const std::uint32_t> words, double* out) {
  for (std::size_t i = 0; i < words.size(); ++i) {
    out[i] = static_cast<double>(static_cast<Word>(ReverseBytes(words[i]))) / kMicro;
  }
}

// The bounds of a one-dimensional array of doubles, reported when the array
// is missing or of another shape or type.
com::HRESULT DoubleArrayBounds(driver::CallFrame& f, com::SAFEARRAY* array, std::int32_t* lower,
                               std::int32_t* upper) {
  com::HRESULT hr = com::SafeArrayGetLBound(array, 1, lower);
  if (com::Succeeded(hr)) hr = com::SafeArrayGetUBound(array, 1, upper);
  if (com::Failed(hr)) return f.reporter().ReportErrorText(hr, "The array has no bounds.");
  if (com::SafeArrayGetDim(array) != 1 || array->vt != com::VT_R8) {
    return f.reporter().ReportErrorText(com::E_INVALIDARG,
                                        "The array must be a one-dimensional array of doubles.");
  }
  return com::S_OK;
}

}  // namespace

std::int32_t IVMapWord(double value) {
  const double scaled = value * kMicro;
  // Outside +-2^31 (or not a number) nothing can round into range. Inside, the truncation
  // and the fraction it leaves are exact, so halves round away from zero as std::round does,
  // without a library call per value.
  if (!(std::fabs(scaled) <= 2147483648.0)) return 0;
  auto whole = static_cast<std::int64_t>(scaled);
  const double fraction = scaled - static_cast<double>(whole);
  if (fraction >= 0.5) ++whole;
  if (fraction <= -0.5) --whole;
  if (whole < std::numeric_limits<std::int32_t>::min() ||
      whole > std::numeric_limits<std::int32_t>::max()) {
    return 0;
  }
  return static_cast<std::int32_t>(whole);
}

com::HRESULT GetIVMap(driver::CallFrame& f, const driver::MethodRow& row, IVWord word,
                      com::SAFEARRAY** values, const char* name) {
  if (!values) return f.reporter().NullPointerCurrent(name);
  MOTQR_RETURN_IF_FAILED(f.Trace(trace::OutParameter(name, values)));
  std::int32_t lower = 0, upper = -1;
  MOTQR_RETURN_IF_FAILED(DoubleArrayBounds(f, *values, &lower, &upper));

  // The query goes out as it stands; its block arrives as 32-bit words.
  // A status poll that fails after the block was read leaves the values read.
  com::SafeArray words;
  com::HRESULT hr;
  bool read = false;
  {
    driver::detail::StackedCommand stacked(f.node(), row.command, row.reply);
    const io::ScanArg target(words.Put());
    hr = driver::ExecuteQuery(f, io::ScanArgs(&target, 1), &read);
  }
  if (!read) return hr;

  std::int32_t first = 0;
  if (words) {
    const com::HRESULT bounds = com::SafeArrayGetLBound(words.Get(), 1, &first);
    if (com::Failed(bounds)) return bounds;
  }
  // Only the indexes both arrays have are stored; the others are skipped.
  const auto data = words.Data<std::uint32_t>();
  const std::int64_t from = std::max<std::int64_t>(lower, first);
  const std::int64_t to =
      std::min(std::int64_t{upper} + 1, first + static_cast<std::int64_t>(data.size()));
  if (from < to) {
    const auto stored =
        data.subspan(static_cast<std::size_t>(from - first), static_cast<std::size_t>(to - from));
    double* out = static_cast<double*>((*values)->pvData) + (from - lower);
    if (word == IVWord::kUnsigned) {
      StoreUnits<std::uint32_t>(stored, out);
    } else {
      StoreUnits<std::int32_t>(stored, out);
    }
  }
  return hr;
}

com::HRESULT SetIVMap(driver::CallFrame& f, const driver::MethodRow& row, com::SAFEARRAY* data) {
  std::int32_t lower = 0, upper = -1;
  MOTQR_RETURN_IF_FAILED(DoubleArrayBounds(f, data, &lower, &upper));
  const auto count = static_cast<std::uint32_t>(static_cast<std::int64_t>(upper) - lower + 1);

  // No values: no array reaches the block writer, which refuses that.
  com::SafeArray words;
  if (count > 0) {
    words = com::SafeArray::CreateVector(com::VT_UI4, count);
    if (!words) return f.reporter().OutOfMemory();
    const auto in = std::span<const double>(static_cast<const double*>(data->pvData), count);
    const auto out = words.Data<std::uint32_t>();
    for (std::size_t i = 0; i < in.size(); ++i) {
      out[i] = ReverseBytes(static_cast<std::uint32_t>(IVMapWord(in[i])));
    }
  }
  std::string command;
  MOTQR_RETURN_IF_FAILED(FormatWireCommand(f, row.command, &command, words.Get()));
  return SendCommand(f, std::move(command));
}

}  // namespace motqr::instrument
