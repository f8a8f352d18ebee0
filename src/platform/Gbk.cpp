#include "platform/Gbk.h"

#include <iconv.h>

#include <atomic>
#include <cerrno>
#include <cstddef>
#include <mutex>
#include <unordered_map>
#include <vector>

namespace quorvel::gbk {
namespace {

// One iconv descriptor per direction and thread: opening one loads a gconv
// module, which is too slow to repeat for every short string of a drill.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (valid()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  enum class Outcome { Done, Invalid, Incomplete };

  // Converts as much of `in` as it can, appending to `out`. On Invalid or
  // Incomplete, `in` has been advanced to the offending bytes.
  Outcome convert(std::string_view& in, std::string& out) {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);  // reset shift state
    char buffer[1024];
    while (!in.empty()) {
      char* src = const_cast<char*>(in.data());
      std::size_t srcLeft = in.size();
      char* dst = buffer;
      std::size_t dstLeft = sizeof buffer;
      const std::size_t r = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
      const int error = errno;
      out.append(buffer, static_cast<std::size_t>(dst - buffer));
      in.remove_prefix(in.size() - srcLeft);
      if (r != static_cast<std::size_t>(-1)) continue;
      if (error == E2BIG) continue;  // buffer full: flush and go on
      return error == EINVAL ? Outcome::Incomplete : Outcome::Invalid;
    }
    return Outcome::Done;
  }

 private:
  iconv_t cd_;
};

Converter& toGbk() {
  thread_local Converter c("GBK", "UTF-8");
  return c;
}

Converter& fromGbk() {
  thread_local Converter c("UTF-8", "GBK");
  return c;
}

Converter& fromGb18030() {
  thread_local Converter c("UTF-32LE", "GB18030");
  return c;
}

// ---- codes lent to characters GBK cannot hold ----

// The areas' rows, first the six of 0xAA..0xAF, then the seven of 0xF8..0xFE,
// each of 94 codes (trail bytes 0xA1..0xFE).
constexpr std::size_t kRowCodes = 94;
constexpr std::size_t kLendable = 13 * kRowCodes;

bool leadInArea(unsigned lead) { return (lead >= 0xAA && lead <= 0xAF) || lead >= 0xF8; }

std::string codeOfSlot(std::size_t slot) {
  const std::size_t row = slot / kRowCodes;
  const unsigned lead =
      row < 6 ? 0xAA + static_cast<unsigned>(row) : 0xF8 + static_cast<unsigned>(row - 6);
  const unsigned trail = 0xA1 + static_cast<unsigned>(slot % kRowCodes);
  return std::string{static_cast<char>(lead), static_cast<char>(trail)};
}

std::ptrdiff_t slotOfCode(std::string_view two) {
  if (two.size() != 2) return -1;
  const auto lead = static_cast<unsigned char>(two[0]);
  const auto trail = static_cast<unsigned char>(two[1]);
  if (!leadInArea(lead) || lead > 0xFE || trail < 0xA1 || trail > 0xFE) return -1;
  const std::size_t row = lead >= 0xF8 ? 6 + (lead - 0xF8) : lead - 0xAA;
  return static_cast<std::ptrdiff_t>(row * kRowCodes + (trail - 0xA1));
}

struct Lending {
  std::mutex mutex;
  std::unordered_map<char32_t, std::size_t> slotOf;
  std::vector<std::string> utf8;  // by slot
  std::atomic<std::size_t> count{0};
};

Lending& lending() {
  static Lending l;
  return l;
}

// Converts GBK text whose lent codes are shown as their characters: `plain`
// converts each stretch between them. False when `plain` fails.
template <typename Plain>
bool aroundLentCodes(std::string_view gbkBytes, std::string& out, Plain plain) {
  if (lending().count.load(std::memory_order_acquire) == 0) return plain(gbkBytes, out);
  std::size_t start = 0, i = 0;
  while (i < gbkBytes.size()) {
    const auto lead = static_cast<unsigned char>(gbkBytes[i]);
    if (lead < 0x81 || lead > 0xFE || i + 1 == gbkBytes.size()) {
      ++i;
      continue;
    }
    const std::string character = lentCharacter(gbkBytes.substr(i, 2));
    if (!character.empty()) {
      if (!plain(gbkBytes.substr(start, i - start), out)) return false;
      out += character;
      start = i + 2;
    }
    i += 2;
  }
  return plain(gbkBytes.substr(start), out);
}

// Length of the UTF-8 sequence that starts with `lead`; 1 for a stray byte,
// so a lenient conversion always moves on.
std::size_t utf8SequenceLength(std::string_view s) {
  const auto lead = static_cast<unsigned char>(s[0]);
  std::size_t n = 1;
  if (lead >= 0xF0 && lead <= 0xF4)
    n = 4;
  else if (lead >= 0xE0)
    n = lead <= 0xEF ? 3 : 1;
  else if (lead >= 0xC2)
    n = 2;
  if (n > s.size()) return 1;
  for (std::size_t i = 1; i < n; ++i) {
    if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) return 1;
  }
  return n;
}

std::optional<std::string> strict(Converter& c, std::string_view in) {
  if (!c.valid()) return std::nullopt;
  std::string out;
  out.reserve(in.size() * 2);
  if (c.convert(in, out) != Converter::Outcome::Done) return std::nullopt;
  return out;
}

}  // namespace

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

std::string fromUtf8(std::string_view utf8) {
  Converter& c = toGbk();
  std::string out;
  if (!c.valid()) return out;
  out.reserve(utf8.size());
  while (true) {
    const auto outcome = c.convert(utf8, out);
    if (outcome == Converter::Outcome::Done) break;
    // Something GBK cannot hold, or broken UTF-8: one '?' per character.
    out.push_back('?');
    if (outcome == Converter::Outcome::Incomplete) break;  // a sequence cut off at the end
    utf8.remove_prefix(utf8SequenceLength(utf8));
  }
  return out;
}

std::string toUtf8(std::string_view gbkBytes) {
  Converter& c = fromGbk();
  std::string out;
  if (!c.valid()) return out;
  out.reserve(gbkBytes.size() * 2);
  aroundLentCodes(gbkBytes, out, [&c](std::string_view part, std::string& to) {
    while (true) {
      const auto outcome = c.convert(part, to);
      if (outcome == Converter::Outcome::Done) break;
      to += "\xEF\xBF\xBD";                                  // U+FFFD
      if (outcome == Converter::Outcome::Incomplete) break;  // a lead byte at the very end
      part.remove_prefix(1);
    }
    return true;
  });
  return out;
}

std::optional<std::string> fromUtf8Strict(std::string_view utf8) { return strict(toGbk(), utf8); }

std::optional<std::string> toUtf8Strict(std::string_view gbkBytes) {
  Converter& c = fromGbk();
  if (!c.valid()) return std::nullopt;
  std::string out;
  out.reserve(gbkBytes.size() * 2);
  const bool ok = aroundLentCodes(gbkBytes, out, [&c](std::string_view part, std::string& to) {
    return c.convert(part, to) == Converter::Outcome::Done;
  });
  if (!ok) return std::nullopt;
  return out;
}

std::string_view head(std::string_view gbk, std::size_t maxBytes) {
  std::size_t end = 0;
  while (end < gbk.size()) {
    const auto byte = static_cast<unsigned char>(gbk[end]);
    const std::size_t width = (byte >= 0x81 && byte <= 0xFE) ? 2 : 1;
    if (end + width > maxBytes || end + width > gbk.size()) break;
    end += width;
  }
  return gbk.substr(0, end);
}

std::string lendCode(char32_t codePoint) {
  Lending& l = lending();
  const std::lock_guard<std::mutex> lock(l.mutex);
  if (const auto it = l.slotOf.find(codePoint); it != l.slotOf.end()) return codeOfSlot(it->second);
  if (l.utf8.size() >= kLendable) return {};
  const std::size_t slot = l.utf8.size();
  std::string utf8;
  appendUtf8(utf8, codePoint);
  l.utf8.push_back(std::move(utf8));
  l.slotOf.emplace(codePoint, slot);
  l.count.store(l.utf8.size(), std::memory_order_release);
  return codeOfSlot(slot);
}

bool inLendingArea(std::string_view twoBytes) { return slotOfCode(twoBytes) >= 0; }

std::string lentCharacter(std::string_view twoBytes) {
  const std::ptrdiff_t slot = slotOfCode(twoBytes);
  Lending& l = lending();
  if (slot < 0 || static_cast<std::size_t>(slot) >= l.count.load(std::memory_order_acquire))
    return {};
  const std::lock_guard<std::mutex> lock(l.mutex);
  return l.utf8[static_cast<std::size_t>(slot)];
}

std::optional<char32_t> decodeGb18030(std::string_view character) {
  if (character.size() != 2 && character.size() != 4) return std::nullopt;
  Converter& c = fromGb18030();
  if (!c.valid()) return std::nullopt;
  std::string utf32;
  if (c.convert(character, utf32) != Converter::Outcome::Done || utf32.size() != 4)
    return std::nullopt;
  const auto u = [&](std::size_t k) { return char32_t{static_cast<unsigned char>(utf32[k])}; };
  return u(0) | u(1) << 8 | u(2) << 16 | u(3) << 24;
}

}  // namespace quorvel::gbk
