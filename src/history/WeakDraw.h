#pragma once
// Drawing a weak-item run: the items the learner misses most come most
// often, weighted by their error rate and by how recently they were last
// missed, and one item in five is an already-mastered one, so the run is
// not all failure and the mastered items stay fresh.
#include <cstdint>
#include <string>
#include <vector>

#include "history/HistoryStore.h"
#include "platform/Clock.h"

namespace quorvel::history {

// A miss this many days old weighs half as much as one of today.
inline constexpr double kRecencyHalfDays = 7.0;
// One drawn item in this many is a mastered one (when there are any).
inline constexpr int kMasteredEvery = 5;

// The weight of a weak item now (seconds since 1970): its error rate, times
// a factor that halves for every kRecencyHalfDays since its last miss.
double weakWeight(const ItemStat& item, std::int64_t now);

// `count` items in random order: weak ones drawn by weight, mastered ones
// uniformly, one in kMasteredEvery of them. Empty when there is no weak item.
std::vector<std::string> drawWeakItems(const std::vector<ItemStat>& weak,
                                       const std::vector<ItemStat>& mastered, int count,
                                       platform::RandomSource& random, std::int64_t now);

}  // namespace quorvel::history
