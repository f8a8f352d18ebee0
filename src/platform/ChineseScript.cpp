#include "platform/ChineseScript.h"

#include <opencc.h>

#include <mutex>
#include <unordered_map>

namespace quorvel::script {

namespace {

// One converter for the program's life: opening one reads OpenCC's
// dictionaries. A converter is not known to be safe across threads, so
// every use holds the lock.
class Simplifier {
 public:
  Simplifier() : handle_(opencc_open("t2s.json")) {}
  ~Simplifier() {
    if (valid()) opencc_close(handle_);
  }
  Simplifier(const Simplifier&) = delete;
  Simplifier& operator=(const Simplifier&) = delete;

  bool valid() const { return handle_ != reinterpret_cast<opencc_t>(-1); }

  std::optional<std::string> convert(std::string_view utf8) {
    if (!valid()) return std::nullopt;
    const std::lock_guard<std::mutex> lock(mutex_);
    char* out = opencc_convert_utf8(handle_, utf8.data(), utf8.size());
    if (out == nullptr) return std::nullopt;
    std::string result(out);
    opencc_convert_utf8_free(out);
    return result;
  }

 private:
  opencc_t handle_;
  std::mutex mutex_;
};

Simplifier& simplifier() {
  static Simplifier s;
  return s;
}

// The code point at s[i] and its length; a broken sequence counts as one byte.
char32_t nextCodePoint(std::string_view s, std::size_t& i) {
  const auto b = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
  const unsigned lead = b(i);
  std::size_t n = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
  if (i + n > s.size()) n = 1;
  char32_t cp = n == 1 ? lead : lead & (0x7F >> n);
  for (std::size_t k = 1; k < n; ++k) cp = (cp << 6) | (b(i + k) & 0x3F);
  i += n;
  return cp;
}

bool isHan(char32_t cp) {
  return (cp >= 0x3400 && cp <= 0x9FFF) || (cp >= 0xF900 && cp <= 0xFAFF) ||
         (cp >= 0x20000 && cp <= 0x3FFFF);
}

}  // namespace

std::optional<std::string> toSimplified(std::string_view utf8) {
  return simplifier().convert(utf8);
}

ScriptCount countTraditional(std::string_view utf8, int limit) {
  ScriptCount count;
  if (!simplifier().valid()) return count;
  std::unordered_map<char32_t, bool> changes;  // each character converted once
  for (std::size_t i = 0; i < utf8.size() && count.chinese < limit;) {
    const std::size_t at = i;
    const char32_t cp = nextCodePoint(utf8, i);
    if (!isHan(cp)) continue;
    ++count.chinese;
    auto it = changes.find(cp);
    if (it == changes.end()) {
      const std::string_view character = utf8.substr(at, i - at);
      const std::optional<std::string> simple = simplifier().convert(character);
      it = changes.emplace(cp, simple && *simple != character).first;
    }
    if (it->second) ++count.traditional;
  }
  return count;
}

bool isMostlyTraditional(const ScriptCount& count) {
  return count.traditional >= 2 && count.traditional * 5 >= count.chinese;
}

}  // namespace quorvel::script
