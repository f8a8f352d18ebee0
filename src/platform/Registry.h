#pragma once
// The settings store: keys holding 32-bit integer and string values, kept in a
// text file, one section per key path. Value names match without regard to
// case. Every save writes a temporary file and renames it over the store, so a
// crash never leaves a half-written store. A damaged store is read as far as
// it makes sense: lines that do not parse are skipped, and a last line without
// its line end (cut off) is not trusted.
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace quorvel::platform {

class Registry {
 public:
  // $XDG_CONFIG_HOME/Marrowby/Quorvel.conf (default ~/.config/...).
  static std::filesystem::path defaultFile();
  explicit Registry(std::filesystem::path file = defaultFile());

  bool keyExists(std::string_view key) const;
  // Creates the key (empty) and saves; false when the store cannot be written.
  bool createKey(std::string_view key);
  std::optional<std::int32_t> readInt(std::string_view key, std::string_view name) const;
  std::optional<std::string> readString(std::string_view key, std::string_view name) const;
  // Writes and saves at once; false when the key does not exist or the save fails.
  bool writeInt(std::string_view key, std::string_view name, std::int32_t value);
  bool writeString(std::string_view key, std::string_view name, std::string_view value);

 private:
  // Every call reads the store afresh, so two Registry objects on the same
  // file (the main window's and a dialog's) never see stale values.
  void load() const;
  bool save() const;
  struct Value {
    std::string name;
    std::string text;
    bool isString = false;
  };
  std::filesystem::path file_;
  // key path (lower-cased) -> (value name lower-cased -> value)
  mutable std::map<std::string, std::map<std::string, Value>> keys_;
  mutable std::map<std::string, std::string> keyNames_;  // lower-cased -> as written
};

}  // namespace quorvel::platform
