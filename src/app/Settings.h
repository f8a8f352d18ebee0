#pragma once
// The tutor's three settings live under one key of the settings store,
// declared in data/Settings.h.
#include "data/Settings.h"

namespace quorvel::ui {

using quorvel::ensureSettingsKey;
using quorvel::kSettingsKey;

}  // namespace quorvel::ui
