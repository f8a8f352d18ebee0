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
  std::string error;  // UTF-8, names the reason when the file could not be read
  std::string gbk;    // the text as GBK, at most the asked bytes, never cut inside a character
  Encoding encoding = Encoding::Gbk;
  bool truncated = false;  // the file holds more than was read
};

// Reads the start of a file. UTF-8 when it starts with a UTF-8 mark or is
// valid UTF-8 throughout what was read; UTF-16 when it starts with a UTF-16
// mark; GBK otherwise. A character GBK cannot hold, or a broken GBK byte
// pair, becomes "□". Line ends stay as they are in the file.
LoadedText readPracticeText(const std::string& path, std::size_t maxGbkBytes = kMaxGbkBytes);
// The conversion readPracticeText does on the bytes it read; `more` tells that
// the file goes on after them, so a character cut at the end is not broken.
LoadedText decodePracticeText(std::string_view raw, bool more,
                              std::size_t maxGbkBytes = kMaxGbkBytes);

}  // namespace quorvel::textfile
