// The learning path: the review schedule read from an item's trace, stages
// that open when their share is mastered, due items that come back first,
// a path session typed by its drill, and entry times with pauses capped.
#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <set>

#include "drills/RootDrill.h"
#include "path/LearningPath.h"
#include "path/Review.h"
#include "practice/FrameTexts.h"
#include "support/FrameFixture.h"

namespace quorvel::testing {
namespace {

using history::ItemStat;
using history::ItemTrace;
using path::assessItem;

constexpr int kTarget = 1000;

ItemStat withTrace(std::vector<ItemTrace> trace) {
  ItemStat s;
  s.cls = history::ItemClass::Root;
  s.tries = static_cast<int>(trace.size());
  s.trace = std::move(trace);
  return s;
}

struct ScheduleCase {
  const char* name;
  std::vector<ItemTrace> trace;
  bool mastered;
  int box;
  int dueDay;
};

class Schedule : public ::testing::TestWithParam<ScheduleCase> {};

TEST_P(Schedule, BoxAndDueDayFollowTheFirstEntryOfEachDay) {
  const ScheduleCase& c = GetParam();
  const ItemStat stat = withTrace(c.trace);
  const path::ItemStanding s = assessItem(&stat, kTarget);
  EXPECT_TRUE(s.seen);
  EXPECT_EQ(s.mastered, c.mastered);
  EXPECT_EQ(s.box, c.box);
  EXPECT_EQ(s.dueDay, c.dueDay);
}

// Good: right within 1000 ms. Day 10 is the first day of each trace.
INSTANTIATE_TEST_SUITE_P(
    Traces, Schedule,
    ::testing::Values(
        // Learned on one day: the day's first try was a miss, so it comes back tomorrow.
        ScheduleCase{"LearnedToday",
                     {{10, false, 3000}, {10, true, 900}, {10, true, 800}, {10, true, 700}},
                     true,
                     0,
                     11},
        // Each day's first try good: the interval grows, box 2 comes back in 2 days.
        ScheduleCase{
            "ReviewedTwice",
            {{10, false, 3000}, {10, true, 900}, {10, true, 800}, {11, true, 700}, {13, true, 600}},
            true,
            2,
            15},
        // A miss at review: back to box 0, no longer mastered, due at once.
        ScheduleCase{"MissedAtReview",
                     {{10, true, 900}, {11, true, 800}, {13, true, 700}, {17, false, 700}},
                     false,
                     0,
                     17},
        // Right but slow: the box stays, the item is due again at once.
        ScheduleCase{"SlowAtReview",
                     {{10, true, 900}, {10, true, 800}, {10, true, 800}, {12, true, 4000}},
                     false,
                     1,
                     12},
        // The box is capped, and so is the interval.
        ScheduleCase{"TopBox",
                     {{1, true, 1},
                      {2, true, 1},
                      {3, true, 1},
                      {4, true, 1},
                      {5, true, 1},
                      {6, true, 1},
                      {7, true, 1},
                      {8, true, 1},
                      {9, true, 1}},
                     true,
                     path::kTopBox,
                     9 + 17}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Schedule, AnItemNeverTypedIsNotSeen) {
  EXPECT_FALSE(assessItem(nullptr, kTarget).seen);
  EXPECT_FALSE(assessItem(nullptr, kTarget).mastered);
}

// A path over no tables: only the root stages have items.
class PathStanding : public ::testing::Test {
 protected:
  PathStanding() : path(PracticeData{}, {}) {}

  // The items of a stage mastered on `day` (three good entries that day).
  void master(int stage, int count, int day) {
    for (int i = 0; i < count; ++i) {
      const path::PathItem& item = path.items(stage)[static_cast<std::size_t>(i)];
      ItemStat s = withTrace({{day, true, 500}, {day, true, 500}, {day, true, 500}});
      facts.items[static_cast<std::size_t>(history::ItemClass::Root)][item.key] = s;
    }
  }
  path::Standing standing(int today) const {
    return path.assess(facts, path::Targets::defaults(), today);
  }

  path::LearningPath path;
  path::LearningPath::Facts facts;
};

TEST_F(PathStanding, TheNextStageOpensWhenTheShareIsMasteredAndNotBefore) {
  ASSERT_EQ(path.items(0).size(), 38u);  // A S D F G
  EXPECT_EQ(standing(100).current, 0);
  EXPECT_FALSE(standing(100).stages[1].open);
  master(0, 34, 100);  // 89%
  EXPECT_EQ(standing(100).current, 0);
  EXPECT_EQ(standing(100).stages[0].mastered, 34);
  master(0, 35, 100);  // 92%
  const path::Standing st = standing(100);
  EXPECT_EQ(st.current, 1);
  EXPECT_TRUE(st.stages[0].passed);
  EXPECT_TRUE(st.stages[1].open);
  EXPECT_FALSE(st.stages[2].open);
}

TEST_F(PathStanding, APassedTestOpensTheNextStage) {
  history::RunRow test;
  test.label = path::LearningPath::testLabel(path.stage(0));
  test.finished = true;
  test.accuracy = path::kTestPercent - 1;
  test.speed = 60000 / path::Targets::defaults().of(path::Group::Root) + 1;
  facts.labelledRuns = {test};
  EXPECT_EQ(standing(100).current, 0) << "below the accuracy asked for";
  facts.labelledRuns[0].accuracy = path::kTestPercent;
  EXPECT_EQ(standing(100).current, 1);
  EXPECT_TRUE(standing(100).stages[0].testedOut);
}

TEST_F(PathStanding, MasteredItemsComeBackOnTheirDayBeforeAnythingNew) {
  for (int s = 0; s < 5; ++s) master(s, static_cast<int>(path.items(s).size()), 100);
  platform::RandomSource random;
  // Every root stage passed, right at first sight: box 1, back in two days.
  EXPECT_TRUE(standing(100).due.empty());
  EXPECT_TRUE(standing(101).due.empty());
  const path::Standing next = standing(102);
  EXPECT_EQ(next.due.size(), 176u);
  const SessionPlan plan = path.nextSession(next, path::Targets::defaults(), random);
  EXPECT_EQ(plan.kind, pkPathRoot);
  EXPECT_EQ(static_cast<int>(plan.items.size()),
            path::LearningPath::sessionEntries(path::Group::Root, path::Targets::defaults()));
  std::set<std::string> distinct(plan.items.begin(), plan.items.end());
  EXPECT_EQ(distinct.size(), plan.items.size()) << "each due root once";
}

TEST_F(PathStanding, AFirstSessionBringsNewItemsRepeatedApart) {
  platform::RandomSource random;
  const SessionPlan plan = path.nextSession(standing(100), path::Targets::defaults(), random);
  ASSERT_EQ(plan.kind, pkPathRoot);
  EXPECT_EQ(plan.label, path::LearningPath::sessionLabel(path.stage(0)));
  std::map<std::string, int> times;
  for (std::size_t i = 0; i < plan.items.size(); ++i) {
    ++times[plan.items[i]];
    if (i > 0) {
      EXPECT_NE(plan.items[i], plan.items[i - 1]) << "at " << i;
    }
    EXPECT_NE(std::string("ASDFG").find(rootKey(std::stoi(plan.items[i]))), std::string::npos)
        << "a root of the first zone";
  }
  for (const auto& [item, n] : times) EXPECT_GE(n, 3) << item;
  EXPECT_LE(times.size(), 38u);
}

TEST_F(PathStanding, ASessionOfTheStageOpensWithWhatIsDue) {
  master(0, 8, 100);  // right at first sight: box 1, due on day 102
  platform::RandomSource random;
  const SessionPlan plan = path.nextSession(standing(102), path::Targets::defaults(), random);
  ASSERT_GE(plan.items.size(), 8u);
  std::set<std::string> first(plan.items.begin(), plan.items.begin() + 8), due;
  for (int i = 0; i < 8; ++i) due.insert(path.items(0)[static_cast<std::size_t>(i)].gbk);
  EXPECT_EQ(first, due);
}

class PathSessionFrame : public FrameFixture {};

TEST_F(PathSessionFrame, APlannedRootSessionEndsAfterItsRootsWithTheirTimes) {
  SessionPlan plan;
  plan.kind = pkPathRoot;
  plan.label = "path:test";
  plan.title = g("路线·字根");
  plan.items = {"0", "5", "0"};
  frame.setPlan(plan);
  frame.selectKind(pkPathRoot);
  ASSERT_TRUE(frame.practising());
  EXPECT_EQ(frame.view().trainName, g("当前练习：路线·字根"));
  EXPECT_EQ(frame.view().picture.roots.size(), 3u) << "only the session's roots are shown";
  auto& drill = *frame.kindAs<RootDrill>(pkPathRoot);
  // The first entry's time runs from its own key; later ones from the entry before.
  clock.time += std::chrono::milliseconds(5000);  // reading the grid does not count
  press(static_cast<std::uint16_t>(drill.cells()[0].expected));
  clock.time += std::chrono::milliseconds(700);
  press(static_cast<std::uint16_t>(drill.cells()[1].expected == 'A' ? 'B' : 'A'));
  history::RunRecord run;
  ASSERT_TRUE(drill.describeRun(run));
  ASSERT_EQ(run.entries.size(), 2u);
  EXPECT_EQ(run.entries[0].ms, 0);
  EXPECT_EQ(run.entries[1].ms, 700);
  clock.time += std::chrono::minutes(30);  // a break counts as the cap
  press(static_cast<std::uint16_t>(drill.cells()[2].expected));
  EXPECT_FALSE(frame.practising()) << "the run ends after its last planned root";
  run = {};
  ASSERT_TRUE(drill.describeRun(run));
  EXPECT_EQ(run.entries[2].ms, history::kEntryPauseCapMs);
  EXPECT_EQ(run.entries[1].right, false);
}

TEST_F(PathSessionFrame, APathKindWithoutASessionSaysWhereSessionsStart) {
  frame.selectKind(pkPathChar);
  EXPECT_FALSE(frame.practising());
  EXPECT_EQ(frame.view().wordplace, frameTexts().noSession);
}

}  // namespace
}  // namespace quorvel::testing
