#include "platform/Gbk.h"

#include <iconv.h>

#include <cerrno>
#include <cstddef>

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
  while (true) {
    const auto outcome = c.convert(gbkBytes, out);
    if (outcome == Converter::Outcome::Done) break;
    out += "\xEF\xBF\xBD";                                 // U+FFFD
    if (outcome == Converter::Outcome::Incomplete) break;  // a lead byte at the very end
    gbkBytes.remove_prefix(1);
  }
  return out;
}

std::optional<std::string> fromUtf8Strict(std::string_view utf8) { return strict(toGbk(), utf8); }

std::optional<std::string> toUtf8Strict(std::string_view gbkBytes) {
  return strict(fromGbk(), gbkBytes);
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

}  // namespace quorvel::gbk
