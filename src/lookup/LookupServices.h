#pragma once
// Character-to-code and code-to-character searches over the loaded tables.
#include <string>
#include <string_view>

#include "data/CodeTypes.h"
#include "data/PracticeData.h"

namespace quorvel {

TCharCodes LookupCharCodes(const PracticeData& data, std::string_view character);
// The split as the hints show it (GBK): the roots in order, then the keys
// the code takes from them and the sound, "拆分：礻 土 → Z T，音 S". The roots
// a code of three shapes skips stand in brackets; a one-root character adds
// its first and last stroke.
std::string SplitText(const CharSplit& split);
// The first non-empty code from word2, word3, word4, wordm; empty if none.
std::string LookupWordCode(const PracticeData& data, std::string_view word);
// The code of a word in one table only (kind 12..15), with that table's rules.
std::string LookupWordCodeIn(const PracticeData& data, int kind, std::string_view word);
// Result text: entries "text code " concatenated; a '?' in the pattern is any letter.
std::string FindCharsByCode(const PracticeData& data, std::string_view pattern);
std::string FindWordsByCode(const PracticeData& data, std::string_view pattern);
// The word around byte position p of a practice text (blank-separated).
std::string WordAtPosition(std::string_view text, std::size_t p);

}  // namespace quorvel
