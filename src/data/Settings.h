#pragma once
// The learner's settings, each declared once: its name in the settings store,
// its type, its default and the values it may take. The main window, the
// settings dialog and the test settings dialog all read them from here.
#include <algorithm>
#include <cstdint>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/Registry.h"

namespace quorvel {

// The key all stored settings live under.
inline constexpr const char* kSettingsKey = "SOFTWARE\\Marrowby\\Quorvel";

enum class SettingType { Boolean, Integer };

struct SettingInfo {
  std::string_view name;  // in the store (names match without regard to case); empty: not stored
  SettingType type = SettingType::Integer;
  std::int32_t defaultValue = 0;
  std::int32_t least = 0, most = 0;  // the values it may take
  // A value from the store or an edit, brought into the range.
  constexpr std::int32_t clamp(std::int64_t v) const {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, least, most));
  }
};

// Background music on.
inline constexpr SettingInfo kMusicPlay{"musicplay", SettingType::Boolean, 1, 0, 1};
// Which of the four tunes plays; a number beyond is taken as the nearest tune.
inline constexpr SettingInfo kMusicNo{"musicNo", SettingType::Integer, 1, 1, 4};
// The main window starts maximised.
inline constexpr SettingInfo kMaxSize{"MaxSize", SettingType::Boolean, 0, 0, 1};
// The minutes of a test by time, as the test settings dialog offers them
// (kept with the test's settings while the program runs, not stored).
inline constexpr SettingInfo kExamMinutes{"", SettingType::Integer, 1, 1, 200};

// The settings kept in the store, in the order a new key is written with.
inline constexpr SettingInfo kStoredSettings[] = {kMusicPlay, kMusicNo, kMaxSize};

// The stored value, or nothing when it is missing or no number; a number
// out of range comes back brought into it.
inline std::optional<std::int32_t> readSetting(const platform::Registry& registry,
                                               const SettingInfo& setting) {
  const auto v = registry.readInt(kSettingsKey, setting.name);
  if (!v) return std::nullopt;
  // Any number but 0 is "on", as the store always took it.
  if (setting.type == SettingType::Boolean) return *v != 0 ? 1 : 0;
  return setting.clamp(*v);
}

inline std::int32_t readSettingOrDefault(const platform::Registry& registry,
                                         const SettingInfo& setting) {
  return readSetting(registry, setting).value_or(setting.defaultValue);
}

inline bool writeSetting(platform::Registry& registry, const SettingInfo& setting,
                         std::int32_t value) {
  return registry.writeInt(kSettingsKey, setting.name, setting.clamp(value));
}

// Creates the settings key with every stored setting at its default when it
// does not exist yet, in one save (each save waits for the disk). False when
// the key is missing and the store cannot be written; the defaults are then
// in force.
inline bool ensureSettingsKey(platform::Registry& registry) {
  if (registry.keyExists(kSettingsKey)) return true;
  std::vector<std::pair<std::string_view, std::int32_t>> defaults;
  for (const SettingInfo& s : kStoredSettings) defaults.emplace_back(s.name, s.defaultValue);
  return registry.createKey(kSettingsKey, defaults);
}

}  // namespace quorvel
