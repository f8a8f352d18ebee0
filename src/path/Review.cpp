#include "path/Review.h"

namespace quorvel::path {

ItemStanding assessItem(const history::ItemStat* stat, int targetMs) {
  ItemStanding s;
  if (stat == nullptr || stat->tries <= 0) return s;
  s.seen = true;
  const std::vector<history::ItemTrace>& trace = stat->trace;
  if (trace.empty()) {
    // Typed before entries were timed: known, but never shown to be fluent.
    s.dueDay = s.lastDay = history::localDay(stat->lastSeen);
    s.misses = stat->misses > 0 ? 1 : 0;
    return s;
  }
  for (std::size_t i = 0; i < trace.size(); ++i) {
    const bool firstOfDay = i == 0 || trace[i - 1].day != trace[i].day;
    if (!firstOfDay) continue;
    if (goodEntry(trace[i], targetMs))
      s.box = s.box < kTopBox ? s.box + 1 : kTopBox;
    else if (!trace[i].right)
      s.box = 0;
  }
  // The trace always ends with its last kTraceLast entries.
  const std::size_t last = std::min<std::size_t>(trace.size(), history::kTraceLast);
  int good = 0, timed = 0;
  long long ms = 0;
  for (std::size_t i = trace.size() - last; i < trace.size(); ++i) {
    if (goodEntry(trace[i], targetMs)) ++good;
    if (!trace[i].right) ++s.misses;
    if (trace[i].ms >= 0) {
      ++timed;
      ms += trace[i].ms;
    }
  }
  s.recentMs = timed > 0 ? static_cast<int>(ms / timed) : -1;
  s.mastered = last >= static_cast<std::size_t>(kMasteredRuns) && good == static_cast<int>(last);
  s.lastGood = goodEntry(trace.back(), targetMs);
  s.lastDay = trace.back().day;
  s.dueDay = s.lastGood ? s.lastDay + reviewInterval(s.box) : s.lastDay;
  return s;
}

}  // namespace quorvel::path
