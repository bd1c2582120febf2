#include "sim/command_tree.h"

#include <cstddef>

namespace tqrsim {
namespace {

char ToUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool NodeMatches(const PatternNode& pattern, const HeaderNode& header) {
  if (header.suffix >= 0 && !pattern.takes_suffix) return false;
  return header.name == pattern.short_form || header.name == pattern.long_form;
}

bool Match(const std::vector<PatternNode>& pattern, std::size_t pi,
           const std::vector<HeaderNode>& header, std::size_t hi, std::vector<int>& suffixes) {
  if (pi == pattern.size()) return hi == header.size();
  const PatternNode& node = pattern[pi];
  std::size_t mark = suffixes.size();
  if (hi < header.size() && NodeMatches(node, header[hi])) {
    if (node.takes_suffix) suffixes.push_back(header[hi].suffix < 0 ? 1 : header[hi].suffix);
    if (Match(pattern, pi + 1, header, hi + 1, suffixes)) return true;
    suffixes.resize(mark);
  }
  if (!node.optional) return false;
  if (node.takes_suffix) suffixes.push_back(1);
  if (Match(pattern, pi + 1, header, hi, suffixes)) return true;
  suffixes.resize(mark);
  return false;
}

}  // namespace

std::vector<PatternNode> CommandTree::ParsePattern(std::string_view pattern) {
  std::vector<PatternNode> nodes;
  std::size_t i = 0;
  while (i < pattern.size()) {
    PatternNode node;
    if (pattern[i] == '[') {
      node.optional = true;
      ++i;
    }
    if (i < pattern.size() && pattern[i] == ':') ++i;
    while (i < pattern.size() && pattern[i] != ':' && pattern[i] != '[' && pattern[i] != ']' &&
           pattern[i] != '#') {
      char c = pattern[i++];
      if ((c >= 'A' && c <= 'Z') || c == '*' || (c >= '0' && c <= '9')) node.short_form += c;
      node.long_form += ToUpper(c);
    }
    if (i < pattern.size() && pattern[i] == '#') {
      node.takes_suffix = true;
      ++i;
    }
    if (i < pattern.size() && pattern[i] == ']') ++i;
    nodes.push_back(std::move(node));
  }
  return nodes;
}

void CommandTree::Add(std::string_view pattern, Handler set, Handler query) {
  entries_.push_back(
      {std::string(pattern), ParsePattern(pattern), std::move(set), std::move(query)});
}

const CommandEntry* CommandTree::Find(const ProgramUnit& unit, std::vector<int>& suffixes) const {
  for (const CommandEntry& entry : entries_) {
    const Handler& handler = unit.query ? entry.query : entry.set;
    if (!handler) continue;
    suffixes.clear();
    if (Match(entry.nodes, 0, unit.nodes, 0, suffixes)) return &entry;
  }
  suffixes.clear();
  return nullptr;
}

}  // namespace tqrsim
