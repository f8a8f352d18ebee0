#pragma once
// Mastery and spaced review of one item, read from its trace in the history.
//
// Mastered: the item's last kMasteredRuns entries are all right and each
// took no longer than the target time of its stage.
//
// Review schedule (a Leitner scheme of boxes): the first entry of each day is
// the item's review for that day. A review that is right and within the
// target moves the item up a box; a miss sends it back to box 0; a right but
// slow one leaves it where it is. A mastered item is due again some days
// after the day it was last typed: 1 day from box 0, then 2, 2, 3, 5, 8, 11
// and at most 17 days (about 1.5 times more a box). Intervals that double
// grew faster than the learner's memory in the simulated-learner benchmark:
// items faded below the test's bar between reviews. An item whose last entry
// was missed or slow is due at once.
#include <optional>

#include "history/HistoryStore.h"

namespace quorvel::path {

inline constexpr int kMasteredRuns = 3;
inline constexpr int kTopBox = 7;
static_assert(history::kTraceLast >= static_cast<std::size_t>(kMasteredRuns));

struct ItemStanding {
  bool seen = false;
  bool mastered = false;
  bool lastGood = false;  // the last entry was right and within the target
  int box = 0;
  int lastDay = 0;    // the day it was last typed
  int dueDay = 0;     // the day it comes back (lastDay when the last entry was not good)
  int recentMs = -1;  // mean time of its last entries; -1 when none was timed
  int misses = 0;     // misses among its last entries
};

// An entry that counts as good: right and within the target.
inline bool goodEntry(const history::ItemTrace& t, int targetMs) {
  return t.right && t.ms >= 0 && t.ms <= targetMs;
}

// What the trace says of an item; an item never typed is not seen.
ItemStanding assessItem(const history::ItemStat* stat, int targetMs);

// The days until a mastered item in this box comes back.
inline int reviewInterval(int box) {
  constexpr int kDays[kTopBox + 1] = {1, 2, 2, 3, 5, 8, 11, 17};
  return kDays[box < 0 ? 0 : box > kTopBox ? kTopBox : box];
}

}  // namespace quorvel::path
