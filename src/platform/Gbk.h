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

}  // namespace quorvel::gbk
