#include "practice/CodeEntry.h"

#include <algorithm>

namespace quorvel {

Candidates findCandidates(const BaseSegments& base, std::string_view code) {
  Candidates found{};
  if (code.empty() || code.size() > 4) return found;
  const char first = code[0];
  if (first < 'a' || first > 'z') return found;
  const std::string& segment = base[static_cast<std::size_t>(first - 'a')];
  // Quick refusal: a code that occurs nowhere in the segment has no lines.
  if (segment.find(code) == std::string::npos) return found;

  std::string lineCode;
  std::string collected;
  bool matched = false, live = true, collecting = false;
  std::size_t count = 0;
  for (std::size_t i = 0; i < segment.size(); ++i) {
    const char b = segment[i];
    if (b == '\0') break;
    if (b == '\r') {
      if (collecting && matched) {
        if (collected.size() > 26) collected.resize(26);
        // A character stands in the dictionary under its short and its full
        // codes, so a prefix finds it more than once; each place shows a
        // different entry.
        const auto listed = found.begin() + static_cast<std::ptrdiff_t>(count);
        if (std::find(found.begin(), listed, collected) == listed) found[count++] = collected;
        if (count == found.size()) break;
      }
      const char next = i + 1 < segment.size() ? segment[i + 1] : '\0';
      if (next != first) break;  // end of this letter's lines
      lineCode.clear();
      collected.clear();
      matched = false;
      live = true;
      collecting = false;
    } else if (b == ' ') {
      if (live) {
        if (matched)
          collecting = true;
        else
          live = false;  // the line's code ended without matching
      }
    } else if (live) {
      if (!matched) {
        lineCode.push_back(b);
        if (lineCode == code) matched = true;
      }
      if (collecting && matched) collected.push_back(b);
    }
  }
  return found;
}

std::string candidateLine(const Candidates& candidates) {
  std::string line;
  for (std::size_t i = 0; i < candidates.size() && !candidates[i].empty(); ++i) {
    line += std::to_string(i + 1);
    line += ',';
    line += candidates[i];
    line += ' ';
  }
  return line;
}

}  // namespace quorvel
