// Cuts arbitrary text into output directives and runs it, in both modes,
// against a fixed set of arguments of every kind (arrays carry their lengths,
// so a count beyond them must be refused, never read).
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "io/formatted_output.h"
#include "io/output_directive.h"
#include "io/string_writer.h"

namespace {

using motqr::io::FormatArg;

class FuzzEnumFormatter final : public motqr::io::IEnumFormatter {
 public:
  motqr::com::HRESULT FormatEnum(std::string_view name, std::int32_t value,
                                 std::string* token) override {
    if (value < 0 || value > 3) return motqr::com::E_FAIL;
    token->assign(name.substr(0, static_cast<std::size_t>(value)));
    return motqr::com::S_OK;
  }
  motqr::com::HRESULT ParseEnum(std::string_view, std::string_view, std::int32_t*) override {
    return motqr::com::E_NOTIMPL;
  }
  std::int32_t GetMaxEnumLength(std::string_view) override { return 3; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view format(reinterpret_cast<const char*>(data), size);
  motqr::io::ParsedOutputFormat parsed;
  if (motqr::io::ParseOutputFormat(format, &parsed) != motqr::com::S_OK) return 0;
  // Every directive lies inside the format, back to back.
  std::size_t at = 0;
  for (const auto& d : parsed.directives) {
    if (d.start != at || d.length == 0) __builtin_trap();
    at += d.length;
  }
  if (at != size) __builtin_trap();

  static const std::vector<std::int32_t> ints = {1, -2, 3, 4};
  static const std::vector<double> reals = {0.5, -1e300};
  static const std::vector<std::uint8_t> bytes = {'a', 'b', 'c'};
  static const std::vector<std::int16_t> shorts = {-1, 0, 1};
  static const std::vector<const char*> texts = {"x", "yz"};
  static const std::vector<std::string> objects = {"o"};
  const std::string text = "abc";
  const auto args = motqr::io::MakeFormatArgs(3, 2.5, ints, -7, text, reals, 1, bytes, shorts, 2,
                                              texts, objects, u"w", 0, 1e-9, nullptr, 5, 6);
  FuzzEnumFormatter enums;
  for (bool string_mode : {false, true}) {
    std::string out;
    motqr::io::CCStringWriter writer(&out);
    motqr::io::FormatOutputV(&writer, &enums, format,
                             motqr::io::FormatArgs(args.data(), args.size()), string_mode);
  }
  return 0;
}
