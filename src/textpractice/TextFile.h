#pragma once
// Reading a learner's practice text file: only as much as the practice can
// use, in whatever encoding a Linux or Windows editor wrote it, as GBK.
#include <cstddef>
#include <string>
#include <string_view>

namespace quorvel::textfile {

// The practice looks at no more than this many bytes of GBK text.
inline constexpr std::size_t kMaxGbkBytes = 75251;

enum class Encoding { Gbk, Utf8, Utf16LE, Utf16BE };

struct LoadedText {
  bool ok = false;
  std::string error;  // UTF-8, in Chinese, names the reason when the file cannot be practised
  std::string gbk;    // the text as GBK, at most the asked bytes, never cut inside a character
  Encoding encoding = Encoding::Gbk;
  bool truncated = false;  // the file holds more than was read
  // The text reads as one in traditional characters (a fifth or more of its
  // Chinese characters have simplified forms), so it is best offered in
  // simplified ones.
  bool traditional = false;
};

// Reads the start of a file. Only a regular file is opened, never blocking:
// a folder, a named pipe or a device is refused before any read. UTF-8 when
// it starts with a UTF-8 mark or is valid UTF-8 throughout what was read;
// UTF-16 when it starts with a UTF-16 mark; GBK (with GB18030's four-byte
// characters) otherwise. A character GBK cannot hold is lent a code of GBK's
// user-defined area (gbk::lendCode), so it is still shown as itself; a
// broken byte sequence becomes "□". Line ends stay as they are in the file.
// A file with a zero byte, or whose text is mostly control characters and
// broken bytes, is no text and is refused. With `simplified`, traditional
// characters are turned into simplified ones.
LoadedText readPracticeText(const std::string& path, std::size_t maxGbkBytes = kMaxGbkBytes,
                            bool simplified = false);
// The conversion readPracticeText does on the bytes it read; `more` tells that
// the file goes on after them, so a character cut at the end is not broken.
LoadedText decodePracticeText(std::string_view raw, bool more,
                              std::size_t maxGbkBytes = kMaxGbkBytes, bool simplified = false);

// The text of a loaded text in simplified characters, cut like it to at most
// `maxGbkBytes`; the text itself when OpenCC cannot be opened.
std::string simplifiedGbk(std::string_view gbk, std::size_t maxGbkBytes = kMaxGbkBytes);

}  // namespace quorvel::textfile
