#pragma once
// Practice data read from the resource library once, at frame set-up.
#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "data/PracticeKinds.h"
#include "platform/Jpeg.h"
#include "platform/ResourceLibrary.h"

namespace quorvel {

inline constexpr int kRootCount = 176;
inline constexpr int kRootPictureSize = 16;  // the root pictures of an unscaled screen
// How many consecutive root numbers lie on each key A..Z.
inline constexpr std::array<int, 26> kRootKeyCounts = {4, 9, 14, 13, 8, 8, 8, 6, 2, 6, 1, 9, 1,
                                                       6, 7, 5,  6,  7, 5, 4, 7, 9, 6, 9, 6, 10};
// The key letter ('A'..'Z') of root image index 0..175; 0 outside that range.
char rootKey(int rootIndex);

// Chardata normalisation. Rule A drops every CR and the byte after it; rule B
// writes a space for a CR unless the fourth byte before it is a letter. Both
// fold 'A'..'Z' to lower case.
std::string normaliseRuleA(std::string_view raw);
std::string normaliseRuleB(std::string_view raw);

struct WordmEntry {
  std::string text;  // at most 26 bytes
  std::string code;  // 4 letters
};
// Cuts normalised "wordm" data into at most `count` entries; stops early at the end.
std::vector<WordmEntry> splitWordm(std::string_view normalised, int count = 296);

// The lookup dictionary "base" cut into 26 segments, one per first code letter
// a..z; each segment keeps its CR line ends.
using BaseSegments = std::array<std::string, 26>;
BaseSegments splitBase(std::string_view base);

// Checks of the tables as the library holds them, before normalising; each
// gives the reason for the first fault found, or nullopt when sound.
// A drill table: every line is the kind's text (GB2312 characters, as many
// as its records hold; the word table 1 to 13) followed by its code in
// lower-case letters (rule-B tables 3 or 4, padded), and ends with CR LF.
std::optional<std::string> checkDrillTable(int kind, std::string_view raw);
// The lookup dictionary: lines "code text" ending with a CR alone, a code of
// 1 to 4 lower-case letters, a text of 1 to 13 GB2312 characters, the lines
// grouped by the first letter of their code, a to z.
std::optional<std::string> checkBaseTable(std::string_view raw);

// The split of a character into its roots, as the "splits" entry gives it.
// Texts are GBK; a root GBK cannot write is given by its name in brackets.
struct SplitPart {
  std::string text;  // the root (or stroke)
  char key = 0;      // 'A'..'Z'
};
struct CharSplit {
  std::vector<SplitPart> roots;    // in writing order, at least one
  char sound = 0;                  // 'A'..'Z'
  std::vector<SplitPart> strokes;  // first and last stroke of a one-root character, else none
};
// The splits of all characters, checked whole when read and kept as read: a
// character's split is taken from its line when asked for, so start-up does
// not build thousands of splits the learner may never look at.
class CharSplits {
 public:
  // The split of one character (two GBK bytes), if the entry holds it.
  std::optional<CharSplit> find(std::string_view character) const;
  std::size_t size() const { return lines_.size(); }
  bool empty() const { return lines_.empty(); }
  // Each character with its split, in GBK order.
  void forEach(const std::function<void(std::string_view, const CharSplit&)>& visit) const;

 private:
  friend CharSplits parseCharSplits(std::string_view raw, std::string* fault);
  std::string raw_;
  std::vector<std::pair<std::uint16_t, std::uint32_t>> lines_;  // character, where its line starts
};

// Reads the "splits" entry: one line per character, ending with CR LF,
//   character TAB roots TAB sound TAB strokes
// the roots in writing order separated by single blanks, each its text and
// the upper-case letter of its key ("礻Z 土T"); the upper-case sound letter;
// for a one-root character its first and last stroke in the same form
// ("丨S 一H"), else "-". The whole entry or nothing: on the first fault the
// result is empty and `fault` says where.
CharSplits parseCharSplits(std::string_view raw, std::string* fault);

// One drill table of kinds 2 to 15, as loaded.
struct DrillTable {
  bool present = false;  // false when the resource could not be read or is too short
  std::string records;   // normalised bytes
};

// What frame set-up loads, in this order: "base", root pictures, the 14
// tables, the splits.
struct PracticeData {
  BaseSegments base;
  bool basePresent = false;
  std::array<std::optional<platform::RgbImage>, kRootCount> rootPictures;  // 16 x 16
  // Each root as text and what learners call it ("艹 草头", UTF-8), by root
  // index; empty where the library holds none.
  std::array<std::string, kRootCount> rootNames;
  std::array<DrillTable, kKindCount>
      tables;                     // indexed by practice kind; kinds with a drill table used
  std::vector<WordmEntry> wordm;  // kind 15 split into entries
  CharSplits splits;              // empty when the library holds none (or a damaged one)
  // Why a table or the dictionary present in the library was not taken;
  // also written to the program's log.
  std::vector<std::string> problems;
};

// Record width and the number of records the drill of that kind needs (the
// drill draws indexes up to that count, so a shorter table is not usable).
int recordWidth(int kind);
int requiredRecords(int kind);
// Whether normalised records hold enough whole records for the kind.
bool hasEnoughRecords(int kind, std::string_view records);

// Reads everything; a missing library, a missing entry, a read error or a
// table that fails its check leaves that item absent and the rest loads.
PracticeData loadPracticeData(const platform::ResourceLibrary& library);

// The root pictures drawn for a scaled screen: `size` x `size` (24 or 32),
// by root index; a missing or misfit one is absent.
std::array<std::optional<platform::RgbImage>, kRootCount> loadRootPictures(
    const platform::ResourceLibrary& library, int size);

// A "TIPDATA" text as stored: GBK bytes, lines separated by CR LF. nullopt
// when the library, the entry or its bytes cannot be read.
std::optional<std::string> loadText(const platform::ResourceLibrary& library,
                                    std::string_view name);

}  // namespace quorvel
