#include "history/WeakDraw.h"

#include <algorithm>
#include <cmath>

namespace quorvel::history {

namespace {
// Weights become whole numbers for the integer random source; this keeps
// a weight of a thousandth of the largest one from rounding to nothing.
constexpr double kWeightScale = 10000.0;
}  // namespace

double weakWeight(const ItemStat& item, std::int64_t now) {
  const double days = std::max<double>(0.0, static_cast<double>(now - item.lastMissed) / 86400.0);
  return item.rate() * std::exp2(-days / kRecencyHalfDays);
}

std::vector<std::string> drawWeakItems(const std::vector<ItemStat>& weak,
                                       const std::vector<ItemStat>& mastered, int count,
                                       platform::RandomSource& random, std::int64_t now) {
  std::vector<std::string> out;
  if (weak.empty() || count <= 0) return out;
  double largest = 0.0;
  for (const ItemStat& item : weak) largest = std::max(largest, weakWeight(item, now));
  std::vector<int> cumulative;
  cumulative.reserve(weak.size());
  int total = 0;
  for (const ItemStat& item : weak) {
    const double w = largest > 0.0 ? weakWeight(item, now) / largest : 1.0;
    total += std::max(1, static_cast<int>(std::lround(w * kWeightScale)));
    cumulative.push_back(total);
  }
  const int masteredCount = mastered.empty() ? 0 : count / kMasteredEvery;
  out.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count - masteredCount; ++i) {
    const int r = random.uniform(total);
    const auto at = std::upper_bound(cumulative.begin(), cumulative.end(), r) - cumulative.begin();
    out.push_back(weak[static_cast<std::size_t>(at)].item);
  }
  for (int i = 0; i < masteredCount; ++i)
    out.push_back(
        mastered[static_cast<std::size_t>(random.uniform(static_cast<int>(mastered.size())))].item);
  // Mastered items among the weak ones, not all at the end.
  for (std::size_t i = out.size(); i > 1; --i)
    std::swap(out[i - 1], out[static_cast<std::size_t>(random.uniform(static_cast<int>(i)))]);
  return out;
}

}  // namespace quorvel::history
