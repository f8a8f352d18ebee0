#include "platform/Registry.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <system_error>
#include <utility>

#include "platform/SafeFile.h"
#include "platform/SystemError.h"

namespace quorvel::platform {
namespace {

// The store, for example:
//   [SOFTWARE\Marrowby\Quorvel]
//   "musicplay"=int:1
//   "Owner"="text with \" and \\ escaped"
constexpr std::string_view kIntPrefix = "int:";

std::string lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

std::string quote(std::string_view s) {
  static const char* hex = "0123456789ABCDEF";
  std::string out = "\"";
  for (char c : s) {
    const auto u = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else if (u < 0x20 || u == 0x7F) {
      out += "\\x";
      out += hex[u >> 4];
      out += hex[u & 0xF];
    } else {
      out += c;
    }
  }
  out += '"';
  return out;
}

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Reads a quoted string at the start of `in` and removes it from `in`.
std::optional<std::string> unquote(std::string_view& in) {
  if (in.empty() || in[0] != '"') return std::nullopt;
  std::string out;
  std::size_t i = 1;
  while (i < in.size()) {
    const char c = in[i];
    if (c == '"') {
      in.remove_prefix(i + 1);
      return out;
    }
    if (c != '\\') {
      out += c;
      ++i;
      continue;
    }
    if (i + 1 >= in.size()) return std::nullopt;
    const char e = in[i + 1];
    if (e == '"' || e == '\\')
      out += e;
    else if (e == 'n')
      out += '\n';
    else if (e == 'r')
      out += '\r';
    else if (e == 'x') {
      if (i + 3 >= in.size()) return std::nullopt;
      const int hi = hexDigit(in[i + 2]), lo = hexDigit(in[i + 3]);
      if (hi < 0 || lo < 0) return std::nullopt;
      out += static_cast<char>(hi * 16 + lo);
      i += 2;
    } else {
      return std::nullopt;
    }
    i += 2;
  }
  return std::nullopt;  // no closing quote
}

bool validKeyPath(std::string_view key) {
  return !key.empty() && key.find_first_of("\r\n") == std::string_view::npos;
}

// A value line: "name"="text" or "name"=int:number, inside a key.
bool parseValueLine(std::string_view line, std::map<std::string, SettingsValue>* section) {
  if (section == nullptr) return false;  // a value outside any key
  auto name = unquote(line);
  if (!name || line.empty() || line[0] != '=') return false;
  line.remove_prefix(1);
  SettingsValue value;
  value.name = std::move(*name);
  if (!line.empty() && line[0] == '"') {
    auto text = unquote(line);
    if (!text || !line.empty()) return false;
    value.text = std::move(*text);
    value.isString = true;
  } else if (line.substr(0, kIntPrefix.size()) == kIntPrefix) {
    // Kept as written: a number out of range is a failed read, not a lost
    // value. Control bytes are no number and could not be written back.
    line.remove_prefix(kIntPrefix.size());
    for (char c : line)
      if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return false;
    value.text = std::string(line);
  } else {
    return false;
  }
  (*section)[lower(value.name)] = std::move(value);
  return true;
}

// Reads a whole file; 0 or the errno that stopped it.
int readWhole(const std::filesystem::path& file, std::string& text) {
  // Non-blocking: a FIFO put there in the meantime must not hang start-up.
  const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return errno;
  struct stat st {};
  int error = ::fstat(fd, &st) != 0 ? errno : S_ISREG(st.st_mode) ? 0 : EISDIR;
  char buffer[8192];
  while (error == 0) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) error = errno;
    if (n <= 0) break;
    text.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(fd);
  return error;
}

// The messages put what happened first: the message pane may cut off the path.
std::string cannotRead(const std::string& file, const std::string& why) {
  return "设置文件无法读取（" + why + "），本次使用默认设置，也不会改写它：" + file;
}

std::string cannotSave(const std::string& file, const std::string& why) {
  return "设置无法保存（" + why + "），原文件保持不变：" + file;
}

std::filesystem::path homeDirectory() {
  if (const char* home = std::getenv("HOME"); home != nullptr && *home == '/') return home;
  if (const passwd* pw = getpwuid(getuid()); pw != nullptr && pw->pw_dir != nullptr)
    return pw->pw_dir;
  return {};
}

// Where a damaged store is kept: Quorvel.conf.bad, or the first of
// Quorvel.conf.bad-2, -3, ... that is free, so an earlier damaged copy is
// never written over; a copy already holding these very bytes is used again.
std::filesystem::path copyNameFor(const std::filesystem::path& file, const std::string& bytes) {
  for (int n = 1;; ++n) {
    std::filesystem::path name = file.string() + ".bad";
    if (n > 1) name += "-" + std::to_string(n);
    struct stat st {};
    if (::lstat(name.c_str(), &st) != 0) return name;
    std::string held;
    if (S_ISREG(st.st_mode) && static_cast<std::size_t>(st.st_size) == bytes.size() &&
        readWhole(name, held) == 0 && held == bytes)
      return name;
  }
}

}  // namespace

std::filesystem::path Registry::defaultFile() {
  std::filesystem::path config;
  // Only an absolute XDG_CONFIG_HOME counts; a relative one is to be ignored.
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && *xdg == '/') {
    config = xdg;
  } else {
    config = homeDirectory() / ".config";
  }
  return config / "Marrowby" / "Quorvel.conf";
}

SettingsText parseSettings(std::string_view text) {
  SettingsText out;
  std::map<std::string, SettingsValue>* section = nullptr;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t end = text.find('\n', pos);
    // A last line without its line end may have been cut short: skip it.
    if (end == std::string::npos) {
      out.clean = false;
      break;
    }
    std::string_view line = text.substr(pos, end - pos);
    pos = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line[0] == ';' || line[0] == '#') continue;

    if (line[0] == '[') {
      section = nullptr;
      const std::string_view path =
          line.size() >= 2 && line.back() == ']' ? line.substr(1, line.size() - 2) : "";
      if (!validKeyPath(path)) {
        out.clean = false;
        continue;
      }
      const std::string id = lower(path);
      out.keyNames.emplace(id, std::string(path));
      section = &out.keys[id];
      continue;
    }
    if (!parseValueLine(line, section)) out.clean = false;
  }
  return out;
}

std::string formatSettings(const SettingsText& settings) {
  std::string text = "; Quorvel settings\n";
  for (const auto& [id, values] : settings.keys) {
    const auto shown = settings.keyNames.find(id);
    text += '[';
    text += shown != settings.keyNames.end() ? shown->second : id;
    text += "]\n";
    for (const auto& [lowered, value] : values) {
      text += quote(value.name);
      text += '=';
      if (value.isString) {
        text += quote(value.text);
      } else {
        text += kIntPrefix;
        text += value.text;
      }
      text += '\n';
    }
  }
  return text;
}

namespace {
std::string& latestProblem() {
  static std::string problem;
  return problem;
}
}  // namespace

std::string Registry::takeLatestProblem() { return std::exchange(latestProblem(), {}); }

void Registry::report(std::string problem) const {
  latestProblem() = problem;
  problem_ = std::move(problem);
}

Registry::Registry(std::filesystem::path file) : file_(std::move(file)) { load(); }

void Registry::load() const {
  store_ = SettingsText();
  unreadable_ = false;
  damagedBytes_.clear();
  const std::string shown = file_.string();

  struct stat st {};
  if (::stat(file_.c_str(), &st) != 0) {
    if (errno == ENOENT) return;  // no store yet: defaults, written at the first save
    unreadable_ = true;
    report(cannotRead(shown, systemErrorText(errno)));
    return;
  }
  if (!S_ISREG(st.st_mode)) {
    unreadable_ = true;
    report(cannotRead(shown, S_ISDIR(st.st_mode) ? "它是文件夹" : "它不是普通文件"));
    return;
  }
  std::string text;
  if (const int error = readWhole(file_, text); error != 0) {
    unreadable_ = true;
    report(cannotRead(shown, systemErrorText(error)));
    return;
  }
  store_ = parseSettings(text);
  if (!store_.clean) {
    damagedBytes_ = std::move(text);
    damagedCopy_ = copyNameFor(file_, damagedBytes_);
    report("设置文件有损坏，读不出的部分用默认值；改写前原文件另存为 " +
           damagedCopy_.filename().string() + "：" + shown);
  }
}

bool Registry::save() const {
  // What could not be read is not written over: the learner may still get it back.
  if (unreadable_) return false;
  std::error_code ec;
  std::filesystem::create_directories(file_.parent_path(), ec);
  if (ec) {
    report(cannotSave(file_.string(), systemErrorText(ec.value())));
    return false;
  }
  if (!damagedBytes_.empty()) {
    const WriteResult kept = writeFileSafely(damagedCopy_, damagedBytes_);
    if (!kept.ok) {
      report(cannotSave(file_.string(), "损坏的原文件无法另存（" + kept.reason + "）"));
      return false;
    }
    damagedBytes_.clear();
  }
  const WriteResult written = writeFileSafely(file_, formatSettings(store_));
  if (!written.ok) report(cannotSave(file_.string(), written.reason));
  return written.ok;
}

bool Registry::keyExists(std::string_view key) const {
  load();
  const std::string id = lower(key);
  if (store_.keys.count(id) != 0) return true;
  // A key whose subkeys exist exists too, as the parents of a created key do.
  const std::string prefix = id + "\\";
  const auto next = store_.keys.lower_bound(prefix);
  return next != store_.keys.end() && next->first.compare(0, prefix.size(), prefix) == 0;
}

bool Registry::createKey(std::string_view key) { return createKey(key, {}); }

bool Registry::createKey(std::string_view key,
                         const std::vector<std::pair<std::string_view, std::int32_t>>& values) {
  if (!validKeyPath(key)) return false;
  load();
  const std::string id = lower(key);
  if (store_.keys.count(id) != 0) return true;
  auto& created = store_.keys[id];
  store_.keyNames[id] = std::string(key);
  for (const auto& [name, value] : values) {
    SettingsValue& v = created[lower(name)];
    v.name = std::string(name);
    v.text = std::to_string(value);
    v.isString = false;
  }
  return save();
}

std::optional<std::int32_t> Registry::readInt(std::string_view key, std::string_view name) const {
  load();
  const auto k = store_.keys.find(lower(key));
  if (k == store_.keys.end()) return std::nullopt;
  const auto v = k->second.find(lower(name));
  if (v == k->second.end() || v->second.isString) return std::nullopt;
  const std::string& text = v->second.text;
  long long number = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
  if (number < std::numeric_limits<std::int32_t>::min() ||
      number > std::numeric_limits<std::int32_t>::max()) {
    return std::nullopt;
  }
  return static_cast<std::int32_t>(number);
}

std::optional<std::string> Registry::readString(std::string_view key, std::string_view name) const {
  load();
  const auto k = store_.keys.find(lower(key));
  if (k == store_.keys.end()) return std::nullopt;
  const auto v = k->second.find(lower(name));
  if (v == k->second.end() || !v->second.isString) return std::nullopt;
  return v->second.text;
}

bool Registry::writeInt(std::string_view key, std::string_view name, std::int32_t value) {
  load();
  const auto k = store_.keys.find(lower(key));
  if (k == store_.keys.end()) return false;
  SettingsValue& v = k->second[lower(name)];
  v.name = std::string(name);
  v.text = std::to_string(value);
  v.isString = false;
  return save();
}

bool Registry::writeString(std::string_view key, std::string_view name, std::string_view value) {
  load();
  const auto k = store_.keys.find(lower(key));
  if (k == store_.keys.end()) return false;
  SettingsValue& v = k->second[lower(name)];
  v.name = std::string(name);
  v.text = std::string(value);
  v.isString = true;
  return save();
}

}  // namespace quorvel::platform
