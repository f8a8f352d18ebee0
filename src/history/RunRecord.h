#pragma once
// One practice run as the history keeps it: what was practised, when, how
// fast and how well, and every entry made, so the store can count how often
// each item came and how often it was missed. Built by the running kind from
// what it already holds in memory when the run ends or is given up; nothing
// is written while keys arrive.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Clock.h"

namespace quorvel::history {

// What an item is. Roots are kept as their picture number ("0".."175"),
// characters and words as their text.
enum class ItemClass : std::uint8_t { Root = 0, Character = 1, Word = 2 };

struct RunEntry {
  ItemClass cls = ItemClass::Character;
  std::string expected;  // GBK text, or the root number in decimal
  std::string typed;     // GBK text, or the key pressed for a root
  bool right = false;
  int ms = -1;  // how long the entry took (see kEntryPauseCapMs); -1: not measured
};

// An entry's time runs from the entry before it (or from the first key of the
// run); a pause longer than this counts as this long, so a break away from
// the keyboard does not make an item look slow.
inline constexpr int kEntryPauseCapMs = 10000;
inline int cappedEntryMs(long long ms) {
  return ms < 0 ? 0 : ms > kEntryPauseCapMs ? kEntryPauseCapMs : static_cast<int>(ms);
}

struct RunRecord {
  int kind = 0;
  platform::TimePoint started{};
  platform::TimePoint ended{};
  int items = 0;     // entries made
  int right = 0;     // of them right
  int speed = 0;     // entries a minute
  int accuracy = 0;  // per cent; -1 for a kind that measures none
  bool finished = false;
  std::string label;  // what the run was for beyond its kind (a learning-path stage), or empty
  std::vector<RunEntry> entries;
};

// Fills in a run's start and figures: `items` entries, `right` of them
// right, typed over `seconds` (at least 1). A kind without a model text
// measures no accuracy.
inline void setRunFigures(RunRecord& run, platform::TimePoint started, int items, int right,
                          int seconds, bool measuresAccuracy = true) {
  run.started = started;
  run.items = items;
  run.right = right;
  run.speed = static_cast<int>(static_cast<long long>(items) * 60 / (seconds > 0 ? seconds : 1));
  run.accuracy = !measuresAccuracy ? -1 : items > 0 ? right * 100 / items : 0;
}

// Where the frame hands a run when it ends or is given up.
class RunSink {
 public:
  virtual ~RunSink() = default;
  virtual void record(const RunRecord& run) = 0;
};

// The name a root key press is kept under: the letter or digit itself, "空格"
// for the space bar, else the key's number.
std::string keyName(std::uint16_t virtualKey);

}  // namespace quorvel::history
