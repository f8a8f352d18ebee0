#include "TutorKeys.h"

#include <algorithm>
#include <fstream>
#include <set>
#include <stdexcept>

#include "platform/Gbk.h"
#include "practice/CodeEntry.h"
#include "practice/CodePunctuation.h"

namespace quorvel::enginetest {

TutorTable::TutorTable(const std::string& path) {
  std::ifstream in(path);
  if (!in) throw std::runtime_error(path + ": cannot be read");
  std::string code, text, gbk;
  std::set<std::string> seen;
  while (in >> code >> text) {
    gbk += code + " " + gbk::fromUtf8(text) + "\r";
    codesOf_[text].push_back(code);
    for (std::size_t n = 1; n <= code.size(); ++n)
      if (seen.insert(code.substr(0, n)).second) typed_.push_back(code.substr(0, n));
  }
  base_ = splitBase(gbk);
}

std::vector<std::string> TutorTable::page(const std::string& code) const {
  std::vector<std::string> out;
  for (const auto& c : findCandidates(base_, code))
    if (!c.empty()) out.push_back(gbk::toUtf8(c));
  return out;
}

std::vector<Step> TutorTable::sampleChoices(std::size_t count) const {
  std::vector<std::string> codes;
  for (const auto& c : typed_)
    if (c.size() == 1) codes.push_back(c);
  const std::size_t rest = count > codes.size() ? count - codes.size() : 0;
  for (std::size_t i = 0; i < rest; ++i) {
    const std::string& c = typed_[(2 * i + 1) * typed_.size() / (2 * rest)];
    if (c.size() > 1) codes.push_back(c);
  }
  std::vector<Step> steps;
  for (const auto& code : codes) {
    const auto texts = page(code);
    for (std::size_t i = 0; i < texts.size(); ++i)
      if (!(code.size() == 4 && texts.size() == 1))
        steps.push_back({code + std::to_string(i + 1), texts[i]});
  }
  std::size_t alone = 0;
  for (std::size_t i = 0; i < typed_.size() && alone < 6; i += 97) {
    const auto texts = page(typed_[i]);
    if (typed_[i].size() == 4 && texts.size() == 1) {
      steps.push_back({typed_[i], texts[0]});
      ++alone;
    }
  }
  return steps;
}

std::vector<Step> TutorTable::sentence(const std::string& utf8) const {
  std::vector<Step> steps;
  for (std::size_t i = 0; i < utf8.size();) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    const std::size_t n = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    const std::string ch = utf8.substr(i, n);
    i += n;
    std::string keys;
    for (const bool doubled : {false, true}) {
      const auto marks = quoteMarks(doubled);
      if (ch == marks.open || ch == marks.close) keys = doubled ? "\"" : "'";
    }
    for (const auto& p : codePunctuation())
      if (ch == p.text) keys = std::string(1, p.key);
    if (const auto found = codesOf_.find(ch); keys.empty() && found != codesOf_.end()) {
      for (const auto& code : found->second) {
        const auto texts = page(code);
        const auto at = std::find(texts.begin(), texts.end(), ch);
        if (at == texts.end()) continue;
        std::string k = code;
        if (!(code.size() == 4 && texts.size() == 1)) k += std::to_string(at - texts.begin() + 1);
        if (keys.empty() || k.size() < keys.size()) keys = k;
      }
    }
    if (keys.empty()) throw std::runtime_error("the tutor cannot type " + ch);
    steps.push_back({keys, ch});
  }
  return steps;
}

}  // namespace quorvel::enginetest
