#pragma once
// The tutor's three settings live under one key of the settings store.
#include "platform/Registry.h"

namespace quorvel::ui {

inline constexpr const char* kSettingsKey = "SOFTWARE\\Marrowby\\Quorvel";

// Creates the settings key with its defaults (music on, tune 1, not
// maximised) when it does not exist yet. False when the key is missing and
// the store cannot be written; a store that cannot be written leaves the
// defaults in force.
inline bool ensureSettingsKey(platform::Registry& registry) {
  if (registry.keyExists(kSettingsKey)) return true;
  // One save: each save waits for the disk, and a first start should not wait four times.
  return registry.createKey(kSettingsKey, {{"musicplay", 1}, {"musicNo", 1}, {"MaxSize", 0}});
}

}  // namespace quorvel::ui
