#pragma once
// The settings store: keys holding 32-bit integer and string values, kept in a
// text file, one section per key path. Value names match without regard to
// case. Every save writes a temporary file and renames it over the store, so a
// crash never leaves a half-written store.
//
// The store never loses what it cannot read. A damaged store is read as far
// as it makes sense (lines that do not parse are skipped, a last line without
// its line end is not trusted), and before the first save over it the whole
// file is kept beside it as Quorvel.conf.bad (each later damage under a name
// of its own). A store that exists but cannot
// be read at all (a directory, no permission) is left alone: the program runs
// on defaults and saves nothing. problem() tells the learner what happened.
// A store that is a symbolic link is read and written through it (see
// writeFileSafely), so the link stays and its target gets the values.
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quorvel::platform {

struct SettingsValue {
  std::string name;  // as written
  std::string text;
  bool isString = false;
  bool operator==(const SettingsValue&) const = default;
};

// A store's text as read.
struct SettingsText {
  // key path (lower-cased) -> (value name lower-cased -> value)
  std::map<std::string, std::map<std::string, SettingsValue>> keys;
  std::map<std::string, std::string> keyNames;  // lower-cased -> as written
  bool clean = true;  // false: some of the text did not parse and was skipped
};
SettingsText parseSettings(std::string_view text);
std::string formatSettings(const SettingsText& settings);

class Registry {
 public:
  // $XDG_CONFIG_HOME/Marrowby/Quorvel.conf (default ~/.config/...).
  static std::filesystem::path defaultFile();
  explicit Registry(std::filesystem::path file = defaultFile());

  bool keyExists(std::string_view key) const;
  // Creates the key (empty) and saves; false when the store cannot be written.
  bool createKey(std::string_view key);
  // Creates the key holding these whole-number values, all in one save, so
  // the store never holds the key without them; false as createKey.
  bool createKey(std::string_view key,
                 const std::vector<std::pair<std::string_view, std::int32_t>>& values);
  std::optional<std::int32_t> readInt(std::string_view key, std::string_view name) const;
  std::optional<std::string> readString(std::string_view key, std::string_view name) const;
  // Writes and saves at once; false when the key does not exist or the save fails.
  bool writeInt(std::string_view key, std::string_view name, std::int32_t value);
  bool writeString(std::string_view key, std::string_view name, std::string_view value);

  // What last went wrong with the store, for the learner (UTF-8); empty
  // while nothing has. A later clean read does not clear it, so it is there
  // to be shown after the calls that met it.
  const std::string& problem() const { return problem_; }
  // The latest problem any store object of this program met, handed over
  // once: objects come and go with the windows, the learner is told once.
  static std::string takeLatestProblem();
  // Where the last damaged store this object read is kept (Quorvel.conf.bad,
  // or .bad-2, .bad-3 ... when earlier copies are there); empty while none was.
  const std::filesystem::path& damagedCopy() const { return damagedCopy_; }

 private:
  // Every call reads the store afresh, so two Registry objects on the same
  // file (the main window's and a dialog's) never see stale values.
  void load() const;
  bool save() const;
  void report(std::string problem) const;
  std::filesystem::path file_;
  mutable SettingsText store_;
  mutable bool unreadable_ = false;   // exists but cannot be read: never written
  mutable std::string damagedBytes_;  // the whole file when it did not parse cleanly
  mutable std::filesystem::path damagedCopy_;
  mutable std::string problem_;
};

}  // namespace quorvel::platform
