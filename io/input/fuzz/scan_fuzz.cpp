// Random replies against the reply formats the driver uses. The first byte
// picks the format; the rest is the response. Every reply must give a status
// (never a crash, an overrun or a leak) and no read may go past the response.
// With the first byte's top bit set, the rest is cut as a format instead.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "io/enum_formatter.h"
#include "io/input/formatted_input.h"
#include "io/input/scan_format.h"
#include "io/input/testing/memory_reply_buffer.h"

namespace motqr::io {
namespace {

class TokenTable final : public IEnumFormatter {
 public:
  HRESULT FormatEnum(std::string_view, std::int32_t, std::string*) override {
    return com::E_NOTIMPL;
  }
  HRESULT ParseEnum(std::string_view, std::string_view text, std::int32_t* value) override {
    if (text == "ON" || text == "1") return *value = -1, com::S_OK;
    if (text == "OFF" || text == "0") return *value = 0, com::S_OK;
    if (text == "NORM") return *value = 0, com::S_OK;
    if (text == "INV") return *value = 1, com::S_OK;
    return com::MakeHresult(0x80047059u);
  }
  std::int32_t GetMaxEnumLength(std::string_view) override { return 4; }
};

// Destinations of every kind, released after each run.
struct Destinations {
  double d[4] = {};
  std::int32_t i[4] = {};
  std::int16_t h = 0;
  std::int32_t n = 5;
  std::string s1, s2;
  std::string strings[2];
  com::BSTR bstr = nullptr;
  com::SAFEARRAY* array = nullptr;
  char text[8] = {};
  std::uint8_t bytes[16] = {};
  std::int16_t words[3] = {};
  std::int32_t ints[8] = {};

  ~Destinations() {
    com::SysFreeString(bstr);
    if (array) com::SafeArrayDestroy(array);
  }
};

HRESULT Run(std::uint8_t pick, IIoBuffer& reply, IEnumFormatter* enums, Destinations& x) {
  switch (pick % 28) {
    case 0:
      return Scan(reply, enums, "%lf", &x.d[0]);
    case 1:
      return Scan(reply, enums, "%lf;%lf", &x.d[0], &x.d[1]);
    case 2:
      return Scan(reply, enums, "%,$Slf", &x.array);
    case 3:
      return Scan(reply, enums, "%,$Sle", &x.array);
    case 4:
      return Scan(reply, enums, "%$Slb", &x.array);
    case 5:
      return Scan(reply, enums, "%$C[^,], %$C[^,], %d, %d", &x.s1, &x.s2, &x.i[0], &x.i[1]);
    case 6:
      return Scan(reply, enums, "%{VARIANT_BOOL}[^\n]", &x.h);
    case 7:
      return Scan(reply, enums, "%,$S$BQs", &x.array);
    case 8:
      return Scan(reply, enums, "%#$Cs", &x.n, &x.s1);
    case 9:
      return Scan(reply, enums, "%d,%$Ct", &x.i[0], &x.s1);
    case 10:
      return Scan(reply, enums, "%hd", &x.h);
    case 11:
      return Scan(reply, enums, "%,$Sd", &x.array);
    case 12:
      return Scan(reply, enums, "%$B[^\n]", &x.bstr);
    case 13:
      return Scan(reply, enums, "%@3lf", &x.d[0]);
    case 14:
      return Scan(reply, enums, "%,$Slf:", &x.array);
    case 15:
      return Scan(reply, enums, "%{MorvaneTqrIOPolarityEnum},$Ss", &x.array);
    case 16:
      return Scan(reply, enums, "%lf,%lf,%lf,%$B[^\n]", &x.d[0], &x.d[1], &x.d[2], &x.bstr);
    case 17:
      return Scan(reply, enums, "%#b", &x.n, x.bytes);
    case 18:
      return Scan(reply, enums, "%,8d", x.ints);
    case 19:
      return Scan(reply, enums, "%4c%10s", x.text, x.text);
    case 20:
      return Scan(reply, enums, "%$CT%*d%#$Ct", &x.s1, &x.n, &x.s2);
    case 21:
      return Scan(reply, enums, "%(;:s)$SId", &x.array);
    case 22:
      return Scan(reply, enums, "%@Hd %@Qd %@Bd", &x.i[0], &x.i[1], &x.i[2]);
    case 23:
      return Scan(reply, enums, "%x%o%bd", &x.i[0], &x.i[1], x.bytes);
    case 24:
      return Scan(reply, enums, "%$Shb%$SZb", &x.array, &x.array);
    case 25:
      return Scan(reply, enums, "%3!olhy%#$Sy", x.words, &x.n, &x.array);
    case 26:
      return Scan(reply, enums, "%{VARIANT_BOOL},3qs%,#$Cs", x.words, &x.n, x.strings);
    default:
      return Scan(reply, enums, "%[0-9a-f]%*[^;];%s", x.text, x.text);
  }
}

}  // namespace
}  // namespace motqr::io

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace motqr;
  if (size == 0) return 0;
  const std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
  if (data[0] & 0x80) {
    std::vector<io::ScanDirective> records;
    (void)io::CutScanFormat(rest, &records);
    return 0;
  }
  io::testing::MemoryReplyBuffer reply(rest);
  io::TokenTable enums;
  io::Destinations x;
  const com::HRESULT hr = io::Run(data[0], reply, &enums, x);
  if (reply.reads_past_end() != 0) std::abort();  // read into the next response
  (void)hr;
  return 0;
}
