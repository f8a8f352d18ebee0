#pragma once
// A practice text as two-byte cells: the model text the learner copies and
// the entry text that takes what was typed, offset for offset.
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

// The cell part holds at most 37,625 cells; of the raw text no more than
// 75,251 bytes are looked at.
inline constexpr std::size_t kModelCellBytes = 75250;
inline constexpr std::size_t kModelRawBytes = 75251;

struct PracticeCells {
  // Cells followed by three zero bytes. Every line-break cell (13, 13) of the
  // model is in the entry text from the start, at the same offset.
  std::vector<char> model;
  std::vector<char> entry;
};

// GBK bytes of a text file into cells. A space and an ASCII byte make one
// cell, two spaces make a space cell, a double-byte character its two bytes
// (any trail byte, 0x40..0x7E too), a stray byte above 127 a "□";
// CR becomes a line-break cell and the byte after it is dropped (CR LF); a
// line feed on its own is a line break too, as Linux editors write them.
PracticeCells convertToCells(std::string_view gbk);

// The two bytes of a line-break cell, and the label text that tells a grid
// line ended before this column.
inline constexpr std::string_view kLineBreak = "\r\r";
inline constexpr std::string_view kRowEndMarker = "\r\r";

// How a cell is drawn in a label: itself, except a space-padded control byte,
// which has no glyph: a tab as "→", any other as "·" (GBK).
std::string cellLabelText(char b1, char b2);

// The text for the side pane: GBK with every line ending as CR LF.
std::string withCrLf(std::string_view gbk);

// A user name in GBK cut to at most 16 bytes, never inside a character.
std::string cutUserName(std::string_view gbk);

}  // namespace quorvel
