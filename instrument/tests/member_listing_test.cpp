// The member listing against the interface declarations in interfaces/*.h,
// read as text: every declared member of every listed interface is listed, in
// the declared order, and the listed kind fits the declared signature.
#include "instrument/member_listing.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace motqr::instrument {
namespace {

struct Declared {
  std::string name;        // "VoltageLevel" for get_/put_VoltageLevel
  std::string kind;        // "property", "read-only property" or "method"
  std::string parameters;  // a method's parameter list as declared
};

std::string Squeeze(const std::string& text) {
  return std::regex_replace(text, std::regex(R"(\s+)"), " ");
}

// interface name -> its members as declared, get_/put_ pairs folded into one.
std::map<std::string, std::vector<Declared>> ReadDeclarations() {
  std::map<std::string, std::vector<Declared>> all;
  const std::regex klass(R"(class (\w+) : public [\w:]+ \{)");
  const std::regex member(R"(virtual HRESULT (\w+)\(([^)]*)\) = 0;)");
  for (const auto& file : std::filesystem::directory_iterator(MOTQR_INTERFACES_DIR)) {
    if (file.path().extension() != ".h") continue;
    std::ifstream in(file.path());
    std::stringstream text;
    text << in.rdbuf();
    const std::string squeezed = Squeeze(text.str());
    std::vector<Declared>* current = nullptr;
    const std::regex token(R"(class \w+ : public [\w:]+ \{|virtual HRESULT \w+\([^)]*\) = 0;)");
    for (std::sregex_iterator it(squeezed.begin(), squeezed.end(), token), end; it != end; ++it) {
      const std::string found = it->str();
      std::smatch m;
      if (std::regex_match(found, m, klass)) {
        current = &all[m[1]];
        continue;
      }
      if (!current || !std::regex_match(found, m, member)) continue;
      const std::string name = m[1];
      const bool get = name.starts_with("get_"), put = name.starts_with("put_");
      if (!get && !put) {
        current->push_back(
            {name, "method", std::regex_replace(m[2].str(), std::regex("^ | $"), "")});
        continue;
      }
      const std::string property = name.substr(4);
      if (!current->empty() && current->back().name == property) {
        current->back().kind = "property";  // the other half of a pair
      } else {
        current->push_back({property, put ? "property" : "read-only property", ""});
      }
    }
  }
  return all;
}

struct Listed {
  std::string interface_name, member, kind, arguments, results;
};

std::vector<Listed> ReadListing() {
  std::vector<Listed> rows;
  std::istringstream lines(MemberListing());
  for (std::string line; std::getline(lines, line);) {
    std::vector<std::string> f;
    std::istringstream fields(line);
    for (std::string field; std::getline(fields, field, '\t');) f.push_back(field);
    EXPECT_EQ(f.size(), 9u) << line;
    if (f.size() == 9) rows.push_back({f[0], f[1], f[2], f[3], f[4]});
  }
  return rows;
}

// The declared kind a listed kind stands for.
std::string DeclaredKind(std::string kind) {
  if (kind.ends_with(" by hand")) kind.resize(kind.size() - 8);
  if (kind == "property" || kind == "unsupported property") return "property";
  if (kind == "read-only property" || kind == "interface") return "read-only property";
  return "method";
}

// Whether a method's declared parameters fit the listed kind and arguments.
void ExpectSignatureFits(const Listed& row, const std::string& parameters) {
  SCOPED_TRACE(row.interface_name + "." + row.member + "(" + parameters + ")");
  if (row.kind == "command") {
    EXPECT_EQ(parameters, row.arguments);
  } else if (row.kind == "query" || row.kind == "in/out query" || row.kind == "array query") {
    const std::string inputs = row.arguments.empty() ? "" : row.arguments + ", ";
    EXPECT_TRUE(parameters.starts_with(inputs)) << inputs;
    // "type Name" is declared "type* Name": the name a null result is reported by.
    const std::size_t space = row.results.rfind(' ');
    ASSERT_NE(space, std::string::npos) << row.results;
    const std::string result = row.results.substr(0, space) + "* " + row.results.substr(space + 1);
    EXPECT_TRUE(parameters.ends_with(result)) << result;
  } else if (row.kind == "min/max query") {
    const std::string type = row.results.substr(0, row.results.find(','));
    EXPECT_EQ(parameters, type + "* Min, " + type + "* Max");
  } else if (row.kind == "array command") {
    EXPECT_EQ(parameters, row.arguments);
  } else if (row.kind == "unsupported method") {
    EXPECT_EQ(parameters, "");
  }
}

TEST(MemberListing, ListsEveryDeclaredMemberInOrderWithAFittingKind) {
  const auto declared = ReadDeclarations();
  std::map<std::string, std::vector<Listed>> listed;
  for (const Listed& row : ReadListing()) listed[row.interface_name].push_back(row);
  ASSERT_GE(listed.size(), 20u);
  for (const auto& [name, rows] : listed) {
    SCOPED_TRACE(name);
    const auto it = declared.find(name);
    ASSERT_NE(it, declared.end());
    const std::vector<Declared>& members = it->second;
    ASSERT_EQ(rows.size(), members.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
      EXPECT_EQ(rows[i].member, members[i].name) << "position " << i;
      EXPECT_EQ(DeclaredKind(rows[i].kind), members[i].kind) << rows[i].member;
      if (members[i].kind == "method") ExpectSignatureFits(rows[i], members[i].parameters);
    }
  }
}

}  // namespace
}  // namespace motqr::instrument
