#include "TextSources.h"

#include <array>
#include <fstream>
#include <sstream>
#include <vector>

#include "platform/Gbk.h"

namespace resbuild {
namespace {

std::vector<std::string_view> splitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

std::string where(const std::string& origin, std::size_t lineIndex) {
  return origin + ":" + std::to_string(lineIndex + 1);
}

// Length of the UTF-8 sequence that starts with byte b (1 for a stray byte,
// which the strict conversion then rejects).
std::size_t utf8Length(unsigned char b) {
  if (b >= 0xF0) return 4;
  if (b >= 0xE0) return 3;
  if (b >= 0xC0) return 2;
  return 1;
}

// Converts one line to GBK; on failure names the first character that GBK
// cannot hold.
std::string toGbk(std::string_view utf8, const std::string& at) {
  if (auto gbk = quorvel::gbk::fromUtf8Strict(utf8)) return *gbk;
  for (std::size_t i = 0; i < utf8.size();) {
    std::size_t n = std::min(utf8Length(static_cast<unsigned char>(utf8[i])), utf8.size() - i);
    std::string_view ch = utf8.substr(i, n);
    if (!quorvel::gbk::fromUtf8Strict(ch)) {
      throw SourceError(at + ": the character \"" + std::string(ch) +
                        "\" cannot be written in GBK");
    }
    i += n;
  }
  throw SourceError(at + ": the line cannot be written in GBK");
}

bool isGb2312Pair(unsigned char lead, unsigned char trail) {
  return lead >= 0xA1 && lead <= 0xF7 && trail >= 0xA1 && trail <= 0xFE;
}

// Checks that `gbk` is a run of GB2312 characters only; names the first that is not.
void requireGb2312(std::string_view utf8, std::string_view gbk, const std::string& at) {
  std::size_t u = 0;
  for (std::size_t i = 0; i < gbk.size();) {
    unsigned char lead = static_cast<unsigned char>(gbk[i]);
    std::size_t n = u < utf8.size() ? utf8Length(static_cast<unsigned char>(utf8[u])) : 1;
    std::string ch(utf8.substr(u, n));
    if (lead < 0x80) {
      throw SourceError(at + ": \"" + ch +
                        "\" is not a Chinese character (GB2312) in the text part");
    }
    if (i + 1 >= gbk.size() || !isGb2312Pair(lead, static_cast<unsigned char>(gbk[i + 1]))) {
      throw SourceError(at + ": the character \"" + ch + "\" is not in GB2312");
    }
    i += 2;
    u += n;
  }
}

bool isLower(char c) { return c >= 'a' && c <= 'z'; }

}  // namespace

std::string readFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw SourceError(file.string() + ": cannot be read");
  std::ostringstream all;
  all << in.rdbuf();
  return all.str();
}

std::string convertDrillTable(std::string_view utf8, const std::string& origin) {
  std::string out;
  auto lines = splitLines(utf8);
  for (std::size_t n = 0; n < lines.size(); ++n) {
    std::string_view line = lines[n];
    if (line.empty()) continue;
    std::string at = where(origin, n);
    std::size_t codeStart = line.size();
    while (codeStart > 0 && isLower(line[codeStart - 1])) --codeStart;
    std::string_view text = line.substr(0, codeStart);
    std::string_view code = line.substr(codeStart);
    if (text.empty() || code.empty() || code.size() > 4) {
      throw SourceError(
          at + ": expected Chinese text followed by a code of 1 to 4 lower-case letters, got \"" +
          std::string(line) + "\"");
    }
    std::string gbk = toGbk(text, at);
    requireGb2312(text, gbk, at);
    out += gbk;
    out += code;
    out += "\r\n";
  }
  return out;
}

std::string convertBaseTable(std::string_view utf8, const std::string& origin) {
  std::string out;
  char lastLetter = 0;
  auto lines = splitLines(utf8);
  for (std::size_t n = 0; n < lines.size(); ++n) {
    std::string_view line = lines[n];
    if (line.empty()) continue;
    std::string at = where(origin, n);
    std::size_t space = line.find(' ');
    std::string_view code = line.substr(0, space);
    bool codeOk = space != std::string_view::npos && !code.empty() && code.size() <= 4;
    for (char c : code) codeOk = codeOk && isLower(c);
    std::size_t textStart =
        space == std::string_view::npos ? line.size() : line.find_first_not_of(' ', space);
    if (!codeOk || textStart == std::string_view::npos) {
      throw SourceError(
          at + ": expected \"code text\" with a code of 1 to 4 lower-case letters, got \"" +
          std::string(line) + "\"");
    }
    if (code[0] < lastLetter) {
      throw SourceError(at + ": lines must be grouped by the first letter of their code, a to z");
    }
    lastLetter = code[0];
    std::string_view text = line.substr(textStart);
    std::string gbk = toGbk(text, at);
    requireGb2312(text, gbk, at);
    if (gbk.size() > 26) throw SourceError(at + ": the text is longer than 26 bytes in GBK");
    out += std::string(line.substr(0, textStart));
    out += gbk;
    out += '\r';
  }
  return out;
}

std::string convertText(std::string_view utf8, const std::string& origin) {
  if (utf8.size() >= 3 && utf8.substr(0, 3) == "\xEF\xBB\xBF") utf8.remove_prefix(3);
  std::string out;
  auto lines = splitLines(utf8);
  for (std::size_t n = 0; n < lines.size(); ++n) {
    out += toGbk(lines[n], where(origin, n));
    out += "\r\n";
  }
  return out;
}

}  // namespace resbuild
