#include "textpractice/TextCells.h"

#include <algorithm>

#include "platform/Gbk.h"

namespace quorvel {

PracticeCells convertToCells(std::string_view raw) {
  const std::size_t cellBytes = std::min(2 * raw.size(), kModelCellBytes);
  PracticeCells cells;
  cells.model.assign(cellBytes + 3, '\0');
  cells.entry.assign(cellBytes + 3, '\0');
  std::vector<char>& m = cells.model;
  const std::size_t n = std::min(raw.size(), kModelRawBytes);
  const auto rawAt = [&](std::size_t j) { return j < raw.size() ? raw[j] : '\0'; };
  std::size_t o = 0;
  for (std::size_t j = 0; j < n; ++j) {
    const char b = raw[j];
    // The LF of CR LF belongs to its CR. Only an LF is dropped: in a file
    // with CR line ends the byte after a CR starts the next line.
    if (b == '\n' && j > 0 && raw[j - 1] == '\r') continue;
    const auto ub = static_cast<unsigned char>(b);
    if (b == ' ') {
      if (o % 2 == 1 && m[o - 1] == ' ') {
        if (o + 1 > cellBytes) break;
        m[o++] = ' ';  // completes a space cell
      } else if (rawAt(j + 1) == ' ') {
        if (o + 1 > cellBytes) break;
        m[o++] = ' ';  // the next space completes the cell
      } else {
        if (o + 2 > cellBytes) break;
        m[o] = m[o + 1] = ' ';
        o += 2;
      }
    } else if (b == '\r' || b == '\n') {
      if (o + 2 > cellBytes) break;
      m[o] = m[o + 1] = cells.entry[o] = cells.entry[o + 1] = '\r';
      o += 2;
    } else if (ub <= 127) {
      if (o + 2 > cellBytes) break;
      m[o] = ' ';
      m[o + 1] = b;
      o += 2;
    } else {
      // A lead byte and its trail byte are one cell whatever the trail byte
      // is (0x40..0x7E looks like ASCII but belongs to its lead byte). A lead
      // byte without a trail byte is no character: it becomes "□".
      if (o + 2 > cellBytes) break;
      const auto trail = static_cast<unsigned char>(rawAt(j + 1));
      if (j + 1 < n && ub >= 0x81 && ub <= 0xFE && trail >= 0x40 && trail <= 0xFE &&
          trail != 0x7F) {
        m[o] = b;
        m[o + 1] = raw[++j];
      } else {
        m[o] = '\xA1';
        m[o + 1] = '\xF5';
      }
      o += 2;
    }
  }
  // The three zero bytes that end the text are there from the allocation.
  return cells;
}

std::string cellLabelText(char b1, char b2) {
  static const std::string tab = gbk::fromUtf8("→");
  static const std::string control = gbk::fromUtf8("·");
  const auto c = static_cast<unsigned char>(b2);
  if (b1 == ' ' && (c < 0x20 || c == 0x7F)) return b2 == '\t' ? tab : control;
  std::string text{b1, b2};
  if (b2 == '\0') text.resize(b1 == '\0' ? 0 : 1);
  return text;
}

std::string withCrLf(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      out += "\r\n";
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      out.push_back(c);
    }
  }
  return out;
}

std::string cutUserName(std::string_view gbk) {
  constexpr std::size_t kMax = 16;
  std::size_t end = 0;
  while (end < gbk.size()) {
    const bool pair = static_cast<unsigned char>(gbk[end]) >= 0x81 && end + 1 < gbk.size();
    const std::size_t next = end + (pair ? 2 : 1);
    if (next > kMax) break;
    end = next;
  }
  return std::string(gbk.substr(0, end));
}

}  // namespace quorvel
