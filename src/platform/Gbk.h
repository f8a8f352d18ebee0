#pragma once
// All practice text is GBK bytes; Unicode appears only at the display edge and
// when reading what a user typed into an edit field. glibc iconv does the work.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace quorvel::gbk {

// UTF-8 -> GBK. Characters GBK cannot hold become '?'.
std::string fromUtf8(std::string_view utf8);
// GBK -> UTF-8. Invalid bytes become U+FFFD.
std::string toUtf8(std::string_view gbk);
// Strict forms: nullopt when any byte sequence is invalid / unrepresentable.
std::optional<std::string> fromUtf8Strict(std::string_view utf8);
std::optional<std::string> toUtf8Strict(std::string_view gbk);
// The longest start of `gbk` of at most `maxBytes` bytes that does not end
// inside a two-byte character (a lead byte is 0x81..0xFE).
std::string_view head(std::string_view gbk, std::size_t maxBytes);

// A character GBK cannot hold (one of GB18030's four-byte characters, or any
// other character of a UTF-8 or UTF-16 text) is lent a code of GBK's
// user-defined areas, 0xAAA1..0xAFFE and 0xF8A1..0xFEFE, for as long as the
// program runs: the same code for the same character, so a text keeps two
// bytes a character and toUtf8 shows each such character as itself. Returns
// the two bytes, or empty once all 1,222 codes are lent.
std::string lendCode(char32_t codePoint);
// Whether two bytes lie in those user-defined areas (lent or not).
bool inLendingArea(std::string_view twoBytes);
// The character behind a lent code as UTF-8; empty for any other bytes.
std::string lentCharacter(std::string_view twoBytes);
// One GB18030 character, two bytes or four (81..FE 30..39 81..FE 30..39),
// as its code point; nullopt when the bytes are not one character.
std::optional<char32_t> decodeGb18030(std::string_view character);

// Appends one code point as UTF-8.
void appendUtf8(std::string& s, char32_t cp);

}  // namespace quorvel::gbk
