// The root drill: two fixed pages, a mark per key press, no retry.
#include <gtest/gtest.h>

#include <set>

#include "drills/RootDrill.h"
#include "support/FrameFixture.h"

namespace quorvel::testing {
namespace {

class RootDrillTest : public FrameFixture {
 protected:
  RootDrill& root() { return dynamic_cast<RootDrill&>(*frame.kind(pkRoot)); }
  const std::string& mark(int position) const {
    return frame.view()
        .picture.marks[static_cast<std::size_t>((2 * (position / 26) + 1) * 26 + position % 26)];
  }
  std::uint16_t rightKey() {
    return root()
        .cells()[static_cast<std::size_t>(root().pageStart() + root().position())]
        .expected;
  }
  std::uint16_t wrongKey() { return rightKey() == 'A' ? 'B' : 'A'; }
};

TEST_F(RootDrillTest, StartShowsTheFirstPageWithEveryRootOnce) {
  frame.view().pagesInfo = "old";
  frame.selectKind(pkRoot);
  EXPECT_TRUE(frame.view().picture.visible);
  EXPECT_TRUE(frame.view().pagesInfo.empty()) << "the root drill shows no page information";
  EXPECT_EQ(frame.view().trainName, g("当前练习：字根练习"));
  EXPECT_EQ(mark(0), g("↑"));
  EXPECT_EQ(frame.view().picture.current, 0);
  EXPECT_EQ(frame.view().picture.roots.size(), 249u);
  std::set<int> firstRoots;
  for (int i = 0; i < 176; ++i) firstRoots.insert(root().cells()[static_cast<std::size_t>(i)].root);
  EXPECT_EQ(firstRoots.size(), 176u);
  std::set<int> pageOne;
  for (int i = 0; i < 130; ++i) pageOne.insert(root().cells()[static_cast<std::size_t>(i)].root);
  EXPECT_EQ(pageOne.size(), 130u) << "page 1 never shows a root twice";
  for (const TRootCell& cell : root().cells()) {
    EXPECT_EQ(cell.expected, rootKey(cell.root));
    EXPECT_EQ(cell.entered, 0);
  }
}

TEST_F(RootDrillTest, TheShuffleFillsGapsFromTheTopDown) {
  // Every draw 9: cell 0 keeps 9, cells 1..175 take 175, 174, ... 10, 8, ... 1, 0.
  random.reset(std::vector<int>(249, 9));
  frame.selectKind(pkRoot);
  EXPECT_EQ(root().cells()[0].root, 9);
  EXPECT_EQ(root().cells()[1].root, 175);
  EXPECT_EQ(root().cells()[166].root, 10);
  EXPECT_EQ(root().cells()[167].root, 8);
  EXPECT_EQ(root().cells()[175].root, 0);
  EXPECT_EQ(root().cells()[176].root, 9) << "cells after 175 keep their draw";
}

TEST_F(RootDrillTest, KeysAreMarkedRightOrWrongAndTheRunEndsAfter249) {
  frame.selectKind(pkRoot);
  press(rightKey());
  EXPECT_EQ(mark(0), g("√"));
  EXPECT_EQ(mark(1), g("↑"));
  locks.caps = true;
  press(rightKey(), vk::ModShift);
  EXPECT_EQ(mark(1), g("√")) << "whatever Shift and Caps Lock";
  press(vk::Shift);
  EXPECT_EQ(mark(2), g("メ")) << "Shift alone is an entry of its own";
  press(vk::Space);
  press(vk::Key0 + 5);
  press(vk::Right);
  press(vk::F6);
  for (int p = 3; p <= 6; ++p) EXPECT_EQ(mark(p), g("メ")) << p;
  EXPECT_EQ(frame.view().accuracy, 28) << "the drill's own score: two of seven right";

  while (root().pageStart() == 0) press(wrongKey());
  EXPECT_EQ(root().position(), 0);
  EXPECT_EQ(root().pageLast(), 118);
  EXPECT_EQ(frame.view().picture.pageFirst, 130);
  EXPECT_EQ(mark(0), g("↑"));
  EXPECT_TRUE(mark(1).empty());
  for (int k = 0; k < 118; ++k) press(rightKey());
  EXPECT_TRUE(frame.practising());
  const int beeps = host.beeps;
  press(rightKey());
  EXPECT_FALSE(frame.practising());
  EXPECT_EQ(frame.view().wordplace, g("练习结束!"));
  EXPECT_EQ(host.beeps, beeps + 1);
  EXPECT_EQ(frame.view().picture.current, -1);
  EXPECT_EQ(mark(118), g("√"));
  // After the end F1 opens the help file.
  press(vk::F1);
  EXPECT_EQ(host.helps, std::vector<int>{10001});
}

TEST_F(RootDrillTest, BackspaceStepsBackAcrossThePages) {
  frame.selectKind(pkRoot);
  press(vk::Back);
  EXPECT_EQ(root().position(), 0);
  EXPECT_EQ(mark(0), g("↑"));
  for (int k = 0; k < 130; ++k) press(k % 2 ? rightKey() : wrongKey());
  ASSERT_EQ(root().pageStart(), 130);
  press(vk::Back);
  EXPECT_EQ(root().pageStart(), 0);
  EXPECT_EQ(root().position(), 129);
  EXPECT_EQ(frame.view().picture.pageFirst, 0);
  for (int p = 0; p < 129; ++p) ASSERT_EQ(mark(p), p % 2 ? g("√") : g("メ")) << p;
  EXPECT_EQ(mark(129), g("↑"));
  EXPECT_EQ(root().cells()[129].entered, 0);
  press(vk::Back);
  EXPECT_EQ(root().position(), 128);
  EXPECT_EQ(mark(128), g("↑"));
  EXPECT_TRUE(mark(129).empty());
}

TEST_F(RootDrillTest, F1ShowsTheRootHintOfTheCurrentCell) {
  frame.selectKind(pkRoot);
  press(rightKey());
  const char expected = static_cast<char>(rightKey());
  press(vk::F1);
  EXPECT_EQ(host.rootHints, std::vector<char>{expected});
}

TEST_F(RootDrillTest, AnotherKindHidesThePictureGrid) {
  frame.selectKind(pkRoot);
  frame.selectMenuTag(0);
  EXPECT_FALSE(frame.view().picture.visible);
}

}  // namespace
}  // namespace quorvel::testing
