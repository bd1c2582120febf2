// Every command string the driver sends must be understood: no command error and no
// refused token. Values may be refused (-222) and states may conflict (-221); those
// depend on the value and the moment, not on the command text.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "sim/tests/sim_bench.h"

namespace tqrsim {
namespace {

void ReplaceAll(std::string& text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at)) {
    text.replace(at, from.size(), to);
    at += to.size();
  }
}

// One message per token choice; the value conversions become fixed values.
std::vector<std::string> Expand(std::string format) {
  std::size_t open = format.find('{');
  if (open == std::string::npos) {
    ReplaceAll(format, "%0.6lg", "1");
    ReplaceAll(format, "%f", "1.000000");
    ReplaceAll(format, "%hd", "1");
    ReplaceAll(format, "%d", "2");
    ReplaceAll(format, "%$BQs", "\"P1\"");
    ReplaceAll(format, "%$Bqs", "'P1'");
    ReplaceAll(format, "%$Bs", "UTC");
    return {format};
  }
  std::size_t close = format.find('}', open);
  std::vector<std::string> messages;
  std::string choices = format.substr(open + 1, close - open - 1) + "|";
  for (std::size_t start = 0, bar; (bar = choices.find('|', start)) != std::string::npos;
       start = bar + 1) {
    std::string with =
        format.substr(0, open) + choices.substr(start, bar - start) + format.substr(close + 1);
    for (std::string& message : Expand(with)) messages.push_back(std::move(message));
  }
  return messages;
}

bool Tolerated(const std::string& error) {
  for (const char* code : {"0,", "-114,", "-211,", "-221,", "-222,"}) {
    if (error.rfind(code, 0) == 0) return true;
  }
  return false;
}

TEST(SimDriverCommands, EveryDriverCommandIsUnderstood) {
  std::ifstream file(TQR_SIM_DRIVER_COMMANDS);
  ASSERT_TRUE(file) << TQR_SIM_DRIVER_COMMANDS;
  SimBench bench;
  std::size_t sent = 0;
  for (std::string line; std::getline(file, line);) {
    if (line.empty() || line[0] == '#') continue;
    for (const std::string& message : Expand(line)) {
      bench.Send(":ABOR;:OUTP 0;:OUTP:PROT:CLE;*CLS;:PROG:NAME \"P1\";:PROG:STEP:COUN 5");
      bench.Send(":CURR:IV:COUN 3;:VOLT:IV:COUN 3;:TRIG:ACQ:SOUR BUS");
      bench.Send(message);
      std::string error = bench.Error();
      EXPECT_TRUE(Tolerated(error)) << message << " -> " << error;
      ++sent;
    }
  }
  EXPECT_GT(sent, 400u);
}

}  // namespace
}  // namespace tqrsim
