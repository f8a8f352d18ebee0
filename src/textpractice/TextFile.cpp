#include "textpractice/TextFile.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string_view>

#include "platform/Gbk.h"
#include "platform/SystemError.h"

namespace quorvel::textfile {

namespace {

// GBK of "□", what a character GBK cannot hold turns into.
constexpr std::string_view kBox = "\xA1\xF5";

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

// Appends GBK bytes of one character unless the output would pass its limit.
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
    return true;
  }
  bool full() const { return full_; }
  std::string take() { return std::move(text_); }

 private:
  std::string text_;
  std::size_t limit_;
  bool full_ = false;
};

void appendUtf8(std::string& s, char32_t cp) {
  if (cp < 0x80) {
    s.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    s.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    s.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    s.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    s.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    s.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    s.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    s.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    s.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    s.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

// One code point as GBK: ASCII as it is, else one double-byte character, else "□".
bool putCodePoint(GbkOut& out, char32_t cp) {
  if (cp < 0x80) {
    const char c = static_cast<char>(cp);
    return out.put(std::string_view(&c, 1));
  }
  std::string utf8;
  appendUtf8(utf8, cp);
  const std::optional<std::string> g = gbk::fromUtf8Strict(utf8);
  // Only a proper two-byte pair keeps the practice's cells aligned.
  if (g && g->size() == 2 && static_cast<unsigned char>((*g)[0]) >= 0x81) return out.put(*g);
  return out.put(kBox);
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
      if (!cutByLimit) out.put(kBox);
      return;
    }
    if (!putCodePoint(out, n == 0 ? 0xFFFD : cp)) return;
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
        u = 0xFFFD;
      } else if (const char32_t v = unit(i + 2); v >= 0xDC00 && v <= 0xDFFF) {
        u = 0x10000 + ((u - 0xD800) << 10) + (v - 0xDC00);
        i += 2;
      } else {
        u = 0xFFFD;
      }
    } else if (u >= 0xDC00 && u <= 0xDFFF) {
      u = 0xFFFD;
    }
    if (!putCodePoint(out, u)) return;
  }
  // A lone last byte of the whole file is half a character.
  if (i < s.size() && !cutByLimit) out.put(kBox);
}

void convertGbk(std::string_view s, bool cutByLimit, GbkOut& out) {
  for (std::size_t i = 0; i < s.size();) {
    const auto lead = static_cast<unsigned char>(s[i]);
    if (lead < 0x80) {
      if (!out.put(s.substr(i, 1))) return;
      ++i;
      continue;
    }
    if (lead >= 0x81 && lead <= 0xFE) {
      if (i + 1 == s.size() && cutByLimit) return;  // its trail byte lies beyond the read
      if (i + 1 < s.size()) {
        const auto trail = static_cast<unsigned char>(s[i + 1]);
        if (trail >= 0x40 && trail <= 0xFE && trail != 0x7F) {
          if (!out.put(s.substr(i, 2))) return;
          i += 2;
          continue;
        }
      }
    }
    // 0x80, 0xFF, or a lead byte without its trail byte.
    if (!out.put(kBox)) return;
    ++i;
  }
}

// Our words for the common failures, the system's text after them.
std::string reason(int error) { return platform::systemErrorText(error); }

}  // namespace

LoadedText readPracticeText(const std::string& path, std::size_t maxGbkBytes) {
  LoadedText result;
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  if (!file) {
    result.error = reason(errno);
    return result;
  }
  struct stat st {};
  if (fstat(fileno(file.get()), &st) != 0) {
    result.error = reason(errno);
    return result;
  }
  if (S_ISDIR(st.st_mode)) {
    result.error = reason(EISDIR);
    return result;
  }

  // Enough raw bytes for maxGbkBytes of GBK in any of the encodings (UTF-8
  // and UTF-16 take at most twice the bytes of GBK), plus a mark.
  const std::size_t limit = 2 * maxGbkBytes + 8;
  const bool sizeKnown = S_ISREG(st.st_mode);
  const auto fileSize = static_cast<std::size_t>(st.st_size);
  std::string raw(sizeKnown && fileSize < limit ? fileSize : limit, '\0');
  std::size_t got = 0;
  while (got < raw.size()) {
    const std::size_t n = std::fread(raw.data() + got, 1, raw.size() - got, file.get());
    if (n == 0) break;
    got += n;
  }
  if (std::ferror(file.get())) {
    result.error = reason(errno ? errno : EIO);
    return result;
  }
  // Whether the file goes on after what was read: a regular file tells by its
  // size; anything else by one more byte.
  bool more = false;
  if (got == raw.size()) {
    more = sizeKnown ? fileSize > got : std::fgetc(file.get()) != EOF;
  }
  raw.resize(got);
  return decodePracticeText(raw, more, maxGbkBytes);
}

LoadedText decodePracticeText(std::string_view raw, bool more, std::size_t maxGbkBytes) {
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
  result.truncated = more || out.full();
  result.gbk = out.take();
  result.ok = true;
  return result;
}

}  // namespace quorvel::textfile
