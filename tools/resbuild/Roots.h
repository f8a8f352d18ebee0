#pragma once
// The root table of the input method: 176 roots numbered in key order, and
// groups of look-alike roots for the grouped-roots picture.
#include <array>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "Bmp.h"

namespace resbuild {

// How many consecutive root numbers lie on each key A..Z; the tutor finds the
// key of a root picture by these counts, so the table must follow them.
inline constexpr std::array<int, 26> kRootKeyCounts = {4, 9, 14, 13, 8, 8, 8, 6, 2, 6, 1, 9, 1,
                                                       6, 7, 5,  6,  7, 5, 4, 7, 9, 6, 9, 6, 10};
inline constexpr int kRootTotal = 176;

struct Root {
  int number = 0;     // 1..176
  char key = 0;       // 'A'..'Z'
  std::string glyph;  // UTF-8, usually one character
  std::string name;   // what learners call it
};

// Reads "number<TAB>KEY<TAB>root<TAB>name" lines; throws SourceError on a
// table that breaks the numbering, the key counts or the line format.
std::vector<Root> parseRoots(std::string_view utf8, const std::string& origin);

// The roots of one key, in number order.
std::vector<const Root*> rootsOfKey(const std::vector<Root>& roots, char key);

struct RootGroup {
  std::string label;                // a short description ("点横类")
  std::vector<std::string> glyphs;  // roots shown side by side
};

// Reads groups: one per line, "label<TAB>root root root"; '#' starts a
// comment line. Roots the table does not hold are left out and described in
// `problems`; a group left with fewer than two roots is dropped.
std::vector<RootGroup> parseRootGroups(std::string_view utf8, const std::string& origin,
                                       const std::vector<Root>& roots,
                                       std::vector<std::string>* problems);

// The key of a root glyph, or 0 when the table does not hold it.
char keyOfGlyph(const std::vector<Root>& roots, std::string_view glyph);

// Root pictures drawn by hand, by root: used in place of the font's drawing.
using RootArt = std::map<std::string, Pixels>;
// Reads pictures: a line holding the root alone, then 16 rows of 16 cells,
// '#' ink and '.' paper. Empty lines and lines starting with '#' between
// pictures are notes. Throws SourceError naming the line of a fault.
RootArt parseRootArt(std::string_view utf8, const std::string& origin);

}  // namespace resbuild
