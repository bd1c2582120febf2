// libmotqr.so exports exactly the motqr_ functions of functions.def, the
// class-factory entry points and the C++ component interface, nothing else.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <set>
#include <string>

namespace {

#define MOTQR_FUNCTION(Name) "motqr_" #Name,
const char* const kFunctionNames[] = {
#include "capi/functions.def"
};

// Defined dynamic symbols of the library, demangled.
std::set<std::string> ExportedSymbols() {
  const std::string command = "nm -D --defined-only -C '" MOTQR_LIBRARY_PATH "'";
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), &pclose);
  std::set<std::string> symbols;
  if (!pipe) return symbols;
  char line[4096];
  while (fgets(line, sizeof line, pipe.get())) {
    std::string text(line);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    // "<address> <type> <name>"
    const std::size_t first = text.find(' ');
    const std::size_t second = first == std::string::npos ? first : text.find(' ', first + 1);
    if (second == std::string::npos) continue;
    symbols.insert(text.substr(second + 1));
  }
  return symbols;
}

TEST(ExportsTest, ExactlyTheListedFunctionsAndNothingInternal) {
  const std::set<std::string> symbols = ExportedSymbols();
  ASSERT_FALSE(symbols.empty()) << "nm found nothing in " << MOTQR_LIBRARY_PATH;
  const std::set<std::string> expected(std::begin(kFunctionNames), std::end(kFunctionNames));
  ASSERT_EQ(expected.size(), 351u);
  for (const std::string& name : expected)
    EXPECT_TRUE(symbols.contains(name)) << "missing " << name;
  for (const std::string& symbol : symbols) {
    if (symbol.starts_with("motqr_")) {
      EXPECT_TRUE(expected.contains(symbol)) << "unlisted C export " << symbol;
    } else if (symbol == "DllGetClassObject" || symbol == "DllCanUnloadNow" ||
               symbol.find("motqr::") != std::string::npos || symbol.starts_with("MOTQR_")) {
      continue;  // class factory and the C++ component interface
    } else {
      ADD_FAILURE() << "internal symbol exported: " << symbol;
    }
  }
}

}  // namespace
