#include "Splits.h"

#include <sstream>

#include "TextSources.h"
#include "data/PracticeData.h"
#include "platform/Gbk.h"

namespace resbuild {
namespace {

std::vector<std::string> codePoints(const std::string& utf8) {
  std::vector<std::string> out;
  for (std::size_t i = 0; i < utf8.size();) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    const std::size_t length = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    out.push_back(utf8.substr(i, length));
    i += length;
  }
  return out;
}

// The roots of a field: separated by blanks, or (as the generator writes
// them) run together, one character each.
std::vector<const Root*> rootsOf(const std::string& field, const std::vector<Root>& roots,
                                 const std::string& at) {
  auto find = [&roots](const std::string& glyph) -> const Root* {
    for (const auto& r : roots)
      if (r.glyph == glyph) return &r;
    return nullptr;
  };
  std::vector<const Root*> out;
  std::istringstream words(field);
  std::string word;
  while (words >> word) {
    if (const Root* whole = find(word)) {
      out.push_back(whole);
      continue;
    }
    for (const std::string& glyph : codePoints(word)) {
      const Root* r = find(glyph);
      if (!r) throw SourceError(at + ": \"" + glyph + "\" is not in the root table");
      out.push_back(r);
    }
  }
  return out;
}

std::string lower(char key) { return std::string(1, static_cast<char>(key - 'A' + 'a')); }

// The root as the hint shows it, followed by its key.
std::string part(const Root& root) {
  auto text = quorvel::gbk::fromUtf8Strict(root.glyph);
  if (!text) text = quorvel::gbk::fromUtf8Strict("（" + root.name + "）");
  if (!text) text = quorvel::gbk::fromUtf8("？");
  return *text + root.key;
}

}  // namespace

std::string convertSplits(std::string_view utf8, const std::string& origin,
                          const std::vector<Root>& roots) {
  std::string out;
  std::istringstream in{std::string(utf8)};
  std::string line;
  for (int n = 1; std::getline(in, line); ++n) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    const std::string at = origin + ":" + std::to_string(n);
    std::vector<std::string> f;
    std::istringstream fields(line);
    for (std::string field; std::getline(fields, field, '\t');) f.push_back(field);
    // Columns added after these are not the tutor's concern.
    if (f.size() < 5)
      throw SourceError(at + ": expected character, roots, sound, strokes and full code");
    const auto character = quorvel::gbk::fromUtf8Strict(f[0]);
    if (!character || character->size() != 2)
      throw SourceError(at + ": \"" + f[0] + "\" is not one GBK character");
    const std::vector<const Root*> split = rootsOf(f[1], roots, at);
    if (split.empty()) throw SourceError(at + ": no roots");
    if (f[2].size() != 1 || f[2][0] < 'a' || f[2][0] > 'z')
      throw SourceError(at + ": the sound must be one lower-case letter");
    const std::vector<const Root*> strokes =
        f[3] == "-" ? std::vector<const Root*>() : rootsOf(f[3], roots, at);
    // The full code follows from the split: first, second and last root, or
    // a one-root character's root and its first and last stroke; then the sound.
    std::string shapes;
    if (split.size() == 1) {
      if (strokes.size() != 2)
        throw SourceError(at + ": a one-root character needs its first and last stroke");
      shapes = lower(split[0]->key) + lower(strokes[0]->key) + lower(strokes[1]->key);
    } else {
      if (!strokes.empty())
        throw SourceError(at + ": strokes are given only for a one-root character");
      shapes = lower(split[0]->key) + lower(split[1]->key);
      if (split.size() > 2) shapes += lower(split.back()->key);
    }
    if (shapes + f[2] != f[4])
      throw SourceError(at + ": the split gives the code " + shapes + f[2] + ", the table " + f[4]);
    out += *character + '\t';
    for (std::size_t i = 0; i < split.size(); ++i) out += (i ? " " : "") + part(*split[i]);
    out += '\t';
    out += static_cast<char>(f[2][0] - 'a' + 'A');
    out += '\t';
    out += strokes.empty() ? std::string("-") : part(*strokes[0]) + " " + part(*strokes[1]);
    out += "\r\n";
  }
  std::string fault;
  quorvel::parseCharSplits(out, &fault);
  if (!fault.empty()) throw SourceError(origin + ": the tutor would refuse it: " + fault);
  return out;
}

}  // namespace resbuild
