#include "textpractice/TextFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <optional>
#include <string_view>

#include "platform/ChineseScript.h"
#include "platform/Gbk.h"
#include "platform/SystemError.h"

namespace quorvel::textfile {

namespace {

// GBK of "□", what a broken byte sequence or a character that cannot be
// shown turns into.
constexpr std::string_view kBox = "\xA1\xF5";

// Appends GBK bytes of one character unless the output would pass its limit,
// and keeps count of what kind of characters the text holds, so a file that
// is no text can be told apart.
class GbkOut {
 public:
  explicit GbkOut(std::size_t limit) : limit_(limit) { text_.reserve(limit < 4096 ? limit : 4096); }
  // False when the character no longer fits: the output is complete.
  bool put(std::string_view ch) {
    if (full_ || text_.size() + ch.size() > limit_) {
      full_ = true;
      return false;
    }
    text_.append(ch);
    ++characters_;
    if (ch.size() == 1) {
      const auto c = static_cast<unsigned char>(ch[0]);
      if (c == 0) ++zeros_;
      // Tab, line feed, vertical tab, form feed and carriage return belong in
      // a text; the other control bytes do not.
      if ((c < 0x20 && (c < 0x09 || c > 0x0D)) || c == 0x7F) ++junk_;
    }
    return true;
  }
  // A control character outside ASCII, or a byte sequence that is no
  // character: shown as "□", counted as junk.
  bool putJunk() {
    if (!put(kBox)) return false;
    ++junk_;
    return true;
  }
  bool full() const { return full_; }
  std::size_t zeros() const { return zeros_; }
  // More than a quarter of the characters are control characters or broken
  // bytes: no editor writes such a text.
  // A few broken bytes are a damaged text, not yet no text at all.
  bool mostlyJunk() const { return junk_ >= 4 && 4 * junk_ > characters_; }
  std::string take() { return std::move(text_); }

 private:
  std::string text_;
  std::size_t limit_;
  bool full_ = false;
  std::size_t characters_ = 0, zeros_ = 0, junk_ = 0;
};

std::string utf8Of(char32_t cp) {
  std::string s;
  gbk::appendUtf8(s, cp);
  return s;
}

constexpr char32_t kBroken = 0xFFFD;

// One code point as GBK: ASCII as it is, else its two-byte GBK character,
// else a code lent to it. Marks of zero width are left out; private-use and
// non-characters, which have no glyph of their own, become "□".
bool putCodePoint(GbkOut& out, char32_t cp) {
  if (cp < 0x80) {
    const char c = static_cast<char>(cp);
    return out.put(std::string_view(&c, 1));
  }
  if (cp == kBroken || (cp >= 0x80 && cp <= 0x9F)) return out.putJunk();
  if (cp == 0xFEFF || (cp >= 0x200B && cp <= 0x200D) || cp == 0x2060) return true;
  if ((cp >= 0xE000 && cp <= 0xF8FF) || cp >= 0xF0000 || (cp & 0xFFFE) == 0xFFFE ||
      (cp >= 0xFDD0 && cp <= 0xFDEF))
    return out.put(kBox);
  const std::optional<std::string> g = gbk::fromUtf8Strict(utf8Of(cp));
  // Only a proper two-byte pair keeps the practice's cells aligned.
  if (g && g->size() == 2 && static_cast<unsigned char>((*g)[0]) >= 0x81) return out.put(*g);
  const std::string lent = gbk::lendCode(cp);
  return out.put(lent.empty() ? kBox : std::string_view(lent));
}

// Decodes one UTF-8 sequence at s[i]: its length, or 0 when it is broken,
// or -1 when it is a valid start cut off by the end of s.
int utf8Sequence(std::string_view s, std::size_t i, char32_t& cp) {
  const auto b = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
  const unsigned lead = b(i);
  if (lead < 0x80) {
    cp = lead;
    return 1;
  }
  int n = 0;
  unsigned lo = 0x80, hi = 0xBF;  // range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    n = 2;
    cp = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    n = 3;
    cp = lead & 0x0F;
    if (lead == 0xE0) lo = 0xA0;
    if (lead == 0xED) hi = 0x9F;  // no surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    n = 4;
    cp = lead & 0x07;
    if (lead == 0xF0) lo = 0x90;
    if (lead == 0xF4) hi = 0x8F;
  } else {
    return 0;
  }
  for (int k = 1; k < n; ++k) {
    if (i + static_cast<std::size_t>(k) >= s.size()) return -1;
    const unsigned c = b(i + static_cast<std::size_t>(k));
    if (k == 1 ? (c < lo || c > hi) : (c < 0x80 || c > 0xBF)) return 0;
    cp = (cp << 6) | (c & 0x3F);
  }
  return n;
}

// Whether the bytes are UTF-8 throughout; a sequence cut off at the very end
// counts only when the read stopped there, not at the end of the file.
bool isUtf8(std::string_view s, bool cutByLimit) {
  for (std::size_t i = 0; i < s.size();) {
    char32_t cp = 0;
    const int n = utf8Sequence(s, i, cp);
    if (n == 0) return false;
    if (n < 0) return cutByLimit;
    i += static_cast<std::size_t>(n);
  }
  return true;
}

void convertUtf8(std::string_view s, bool cutByLimit, GbkOut& out) {
  for (std::size_t i = 0; i < s.size();) {
    char32_t cp = 0;
    const int n = utf8Sequence(s, i, cp);
    if (n < 0) {
      // Cut by the read limit it is dropped; at the end of the file it is broken.
      if (!cutByLimit) out.putJunk();
      return;
    }
    if (!putCodePoint(out, n == 0 ? kBroken : cp)) return;
    i += static_cast<std::size_t>(n == 0 ? 1 : n);
  }
}

void convertUtf16(std::string_view s, bool bigEndian, bool cutByLimit, GbkOut& out) {
  const auto unit = [&](std::size_t i) -> char32_t {
    const auto a = static_cast<unsigned char>(s[i]), b = static_cast<unsigned char>(s[i + 1]);
    return bigEndian ? (char32_t{a} << 8 | b) : (char32_t{b} << 8 | a);
  };
  std::size_t i = 0;
  for (; i + 1 < s.size(); i += 2) {
    char32_t u = unit(i);
    if (u >= 0xD800 && u <= 0xDBFF) {
      if (i + 3 >= s.size()) {
        if (cutByLimit) return;  // the pair's second half lies beyond the read
        u = kBroken;
      } else if (const char32_t v = unit(i + 2); v >= 0xDC00 && v <= 0xDFFF) {
        u = 0x10000 + ((u - 0xD800) << 10) + (v - 0xDC00);
        i += 2;
      } else {
        u = kBroken;
      }
    } else if (u >= 0xDC00 && u <= 0xDFFF) {
      u = kBroken;
    }
    if (!putCodePoint(out, u)) return;
  }
  // A lone last byte of the whole file is half a character.
  if (i < s.size() && !cutByLimit) out.putJunk();
}

bool isGbkLead(unsigned char b) { return b >= 0x81 && b <= 0xFE; }
bool isGbkTrail(unsigned char b) { return b >= 0x40 && b <= 0xFE && b != 0x7F; }
bool isDigitByte(unsigned char b) { return b >= 0x30 && b <= 0x39; }

// GBK, and GB18030's four-byte characters with it (a lead byte, a digit, a
// lead byte, a digit), so a GB18030 file is read whole.
void convertGbk(std::string_view s, bool cutByLimit, GbkOut& out) {
  const auto at = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
  for (std::size_t i = 0; i < s.size();) {
    const unsigned char lead = at(i);
    if (lead < 0x80) {
      if (!out.put(s.substr(i, 1))) return;
      ++i;
      continue;
    }
    if (isGbkLead(lead)) {
      if (i + 1 == s.size() && cutByLimit) return;  // its trail byte lies beyond the read
      if (i + 1 < s.size() && isDigitByte(at(i + 1))) {
        if (i + 3 >= s.size() && cutByLimit) return;  // the four bytes end beyond the read
        if (const auto cp = gbk::decodeGb18030(s.substr(i, 4))) {
          if (!putCodePoint(out, *cp)) return;
          i += 4;
          continue;
        }
      } else if (i + 1 < s.size() && isGbkTrail(at(i + 1))) {
        const std::string_view pair = s.substr(i, 2);
        // The user-defined areas hold no character of a text's own (their
        // codes are lent to characters GBK cannot hold); a pair GBK leaves
        // unassigned may be one GB18030 added, else it is no character.
        bool fits = true;
        if (gbk::inLendingArea(pair))
          fits = out.put(kBox);
        else if (gbk::toUtf8Strict(pair))
          fits = out.put(pair);
        else if (const auto cp = gbk::decodeGb18030(pair))
          fits = putCodePoint(out, *cp);
        else
          fits = out.put(kBox);
        if (!fits) return;
        i += 2;
        continue;
      }
    }
    // 0x80, 0xFF, or a lead byte without its trail bytes.
    if (!out.putJunk()) return;
    ++i;
  }
}

// Our words for the common failures, the system's text after them.
std::string reason(int error) { return platform::systemErrorText(error); }
// Why something that is no regular file is not read.
std::string notAFile(mode_t mode) {
  if (S_ISDIR(mode)) return reason(EISDIR);
  if (S_ISFIFO(mode)) return "这是一个命名管道，不是普通文件";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "这是一个设备，不是普通文件";
  if (S_ISSOCK(mode)) return "这是一个套接字，不是普通文件";
  return "这不是普通文件";
}

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

}  // namespace

LoadedText readPracticeText(const std::string& path, std::size_t maxGbkBytes, bool simplified) {
  LoadedText result;
  // Only a regular file is opened: opening a named pipe would wait for a
  // writer, reading a device might never end. The check comes first, and the
  // open does not block either, in case the path changed in between.
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) {
    result.error = reason(errno);
    return result;
  }
  if (!S_ISREG(st.st_mode)) {
    result.error = notAFile(st.st_mode);
    return result;
  }
  const Descriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
  if (file.get() < 0) {
    result.error = reason(errno);
    return result;
  }
  if (::fstat(file.get(), &st) != 0) {
    result.error = reason(errno);
    return result;
  }
  if (!S_ISREG(st.st_mode)) {
    result.error = notAFile(st.st_mode);
    return result;
  }

  // Enough raw bytes for maxGbkBytes of GBK in any of the encodings (UTF-8
  // and UTF-16 take at most twice the bytes of GBK), plus a mark. A file of
  // any size, a sparse one of a gigabyte too, costs no more than that.
  const std::size_t limit = 2 * maxGbkBytes + 8;
  const auto fileSize = static_cast<std::size_t>(st.st_size);
  std::string raw(fileSize < limit ? fileSize : limit, '\0');
  std::size_t got = 0;
  while (got < raw.size()) {
    const ssize_t n = ::read(file.get(), raw.data() + got, raw.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      result.error = reason(errno);
      return result;
    }
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  raw.resize(got);
  return decodePracticeText(raw, fileSize > got, maxGbkBytes, simplified);
}

LoadedText decodePracticeText(std::string_view raw, bool more, std::size_t maxGbkBytes,
                              bool simplified) {
  LoadedText result;
  std::string_view text = raw;
  GbkOut out(maxGbkBytes);
  const auto starts = [&](std::string_view mark) { return text.substr(0, mark.size()) == mark; };
  if (starts("\xEF\xBB\xBF")) {
    result.encoding = Encoding::Utf8;
    text.remove_prefix(3);
    convertUtf8(text, more, out);
  } else if (starts("\xFF\xFE") || starts("\xFE\xFF")) {
    const bool bigEndian = text[0] == '\xFE';
    result.encoding = bigEndian ? Encoding::Utf16BE : Encoding::Utf16LE;
    text.remove_prefix(2);
    convertUtf16(text, bigEndian, more, out);
  } else if (isUtf8(text, more)) {
    result.encoding = Encoding::Utf8;
    convertUtf8(text, more, out);
  } else {
    result.encoding = Encoding::Gbk;
    convertGbk(text, more, out);
  }
  if (out.zeros() > 0) {
    result.error = "文件中有空字节（0x00），不是文本文件";
    return result;
  }
  if (out.mostlyJunk()) {
    result.error = "文件中多是控制字符或无法识别的字节，不是文本文件";
    return result;
  }
  result.truncated = more || out.full();
  result.gbk = out.take();
  result.traditional =
      script::isMostlyTraditional(script::countTraditional(gbk::toUtf8(result.gbk)));
  if (simplified) result.gbk = simplifiedGbk(result.gbk, maxGbkBytes);
  result.ok = true;
  return result;
}

std::string simplifiedGbk(std::string_view gbkText, std::size_t maxGbkBytes) {
  const std::optional<std::string> simple = script::toSimplified(gbk::toUtf8(gbkText));
  if (!simple) return std::string(gbkText);
  GbkOut out(maxGbkBytes);
  convertUtf8(*simple, false, out);
  return out.take();
}

}  // namespace quorvel::textfile
