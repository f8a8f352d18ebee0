#include "platform/Registry.h"

#include <pwd.h>
#include <unistd.h>

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <limits>
#include <system_error>

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

std::filesystem::path homeDirectory() {
  if (const char* home = std::getenv("HOME"); home != nullptr && *home == '/') return home;
  if (const passwd* pw = getpwuid(getuid()); pw != nullptr && pw->pw_dir != nullptr)
    return pw->pw_dir;
  return {};
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

Registry::Registry(std::filesystem::path file) : file_(std::move(file)) { load(); }

void Registry::load() const {
  keys_.clear();
  keyNames_.clear();
  std::ifstream in(file_, std::ios::binary);
  if (!in) return;
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());

  std::map<std::string, Value>* section = nullptr;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t end = text.find('\n', pos);
    // A last line without its line end may have been cut short: skip it.
    if (end == std::string::npos) break;
    std::string_view line(text.data() + pos, end - pos);
    pos = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line[0] == ';' || line[0] == '#') continue;

    if (line[0] == '[') {
      section = nullptr;
      if (line.size() < 2 || line.back() != ']') continue;
      const std::string_view path = line.substr(1, line.size() - 2);
      if (!validKeyPath(path)) continue;
      const std::string id = lower(path);
      keyNames_.emplace(id, std::string(path));
      section = &keys_[id];
      continue;
    }

    if (section == nullptr) continue;  // a value outside any key
    auto name = unquote(line);
    if (!name || line.empty() || line[0] != '=') continue;
    line.remove_prefix(1);
    Value value;
    value.name = *name;
    if (!line.empty() && line[0] == '"') {
      auto text = unquote(line);
      if (!text || !line.empty()) continue;
      value.text = std::move(*text);
      value.isString = true;
    } else if (line.substr(0, kIntPrefix.size()) == kIntPrefix) {
      // Kept as written: a number out of range is a failed read, not a lost value.
      value.text = std::string(line.substr(kIntPrefix.size()));
    } else {
      continue;
    }
    (*section)[lower(value.name)] = std::move(value);
  }
}

bool Registry::save() const {
  std::string text = "; Quorvel settings\n";
  for (const auto& [id, values] : keys_) {
    const auto shown = keyNames_.find(id);
    text += '[';
    text += shown != keyNames_.end() ? shown->second : id;
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

  std::error_code ec;
  std::filesystem::create_directories(file_.parent_path(), ec);
  if (ec) return false;
  const std::filesystem::path temp = file_.string() + ".tmp" + std::to_string(getpid());
  std::FILE* out = std::fopen(temp.c_str(), "wb");
  if (out == nullptr) return false;
  bool ok = std::fwrite(text.data(), 1, text.size(), out) == text.size();
  ok = std::fflush(out) == 0 && ok;
  ok = fsync(fileno(out)) == 0 && ok;
  ok = std::fclose(out) == 0 && ok;
  if (ok) ok = std::rename(temp.c_str(), file_.c_str()) == 0;
  if (!ok) std::filesystem::remove(temp, ec);
  return ok;
}

bool Registry::keyExists(std::string_view key) const {
  load();
  const std::string id = lower(key);
  if (keys_.count(id) != 0) return true;
  // A key whose subkeys exist exists too, as the parents of a created key do.
  const std::string prefix = id + "\\";
  const auto next = keys_.lower_bound(prefix);
  return next != keys_.end() && next->first.compare(0, prefix.size(), prefix) == 0;
}

bool Registry::createKey(std::string_view key) {
  if (!validKeyPath(key)) return false;
  load();
  const std::string id = lower(key);
  if (keys_.count(id) != 0) return true;
  keys_[id];
  keyNames_[id] = std::string(key);
  return save();
}

std::optional<std::int32_t> Registry::readInt(std::string_view key, std::string_view name) const {
  load();
  const auto k = keys_.find(lower(key));
  if (k == keys_.end()) return std::nullopt;
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
  const auto k = keys_.find(lower(key));
  if (k == keys_.end()) return std::nullopt;
  const auto v = k->second.find(lower(name));
  if (v == k->second.end() || !v->second.isString) return std::nullopt;
  return v->second.text;
}

bool Registry::writeInt(std::string_view key, std::string_view name, std::int32_t value) {
  load();
  const auto k = keys_.find(lower(key));
  if (k == keys_.end()) return false;
  Value& v = k->second[lower(name)];
  v.name = std::string(name);
  v.text = std::to_string(value);
  v.isString = false;
  return save();
}

bool Registry::writeString(std::string_view key, std::string_view name, std::string_view value) {
  load();
  const auto k = keys_.find(lower(key));
  if (k == keys_.end()) return false;
  Value& v = k->second[lower(name)];
  v.name = std::string(name);
  v.text = std::string(value);
  v.isString = true;
  return save();
}

}  // namespace quorvel::platform
