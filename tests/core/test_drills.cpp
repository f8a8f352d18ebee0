// The character and word drills driven key by key through the frame.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>

#include "lookup/LookupServices.h"
#include "support/FrameFixture.h"

namespace quorvel::testing {
namespace {

class DrillTest : public FrameFixture {
 protected:
  // Kind 2 draws hz(k % 26) for item k with the counting random source.
  void startOnechar() { frame.selectMenuTag(0); }
  void typeItems(int from, int to) {
    for (int k = from; k < to; ++k) typeChar(k % 26);
  }
  // Types the last item of page 1 of a level-1 run, 30 seconds on, while the
  // menu item of `tag` is chosen between two lines of the page being filled.
  // Returns the speed shown before that entry.
  std::string chooseDuringPageTurn(int tag, std::vector<int> draws) {
    startOnechar();
    typeItems(0, 124);
    bool chosen = false;
    host.onPendingEvents = [&] {
      if (chosen) return;
      chosen = true;
      random.reset(draws);
      frame.selectMenuTag(tag);
    };
    clock.advance(std::chrono::seconds(30));
    const std::string speed = frame.view().speed;
    typeChar(124 % 26);
    host.onPendingEvents = nullptr;
    EXPECT_TRUE(chosen);
    return speed;
  }
};

TEST_F(DrillTest, LevelOneRunHas234ItemsOnTwoPagesAndEndsWithTheLastOne) {
  startOnechar();
  CharWordDrill& d = drill(2);
  ASSERT_TRUE(frame.practising());
  EXPECT_EQ(frame.practiceKind(), pkOnechar);
  EXPECT_EQ(frame.view().trainName, g("当前练习：一级简码"));
  EXPECT_EQ(frame.view().pagesInfo, pageInfo(1, 1));
  EXPECT_EQ(d.sequenceText().size(), 468u);
  EXPECT_EQ(random.seeds, 1);
  EXPECT_EQ(textCell(0).text, hz(0));
  EXPECT_EQ(textCell(0).colour, colour::Current);
  EXPECT_EQ(entryCell(0).text, g("↑"));
  EXPECT_EQ(textCell(124).text, hz(124 % 26));
  EXPECT_FALSE(textCell(124).filled);
  EXPECT_EQ(d.pageStart(1), 250);

  typeItems(0, 125);
  EXPECT_EQ(d.practicePage(), 1);
  EXPECT_EQ(d.viewPage(), 1);
  EXPECT_EQ(d.position(), 0);
  EXPECT_EQ(frame.view().pagesInfo, pageInfo(2, 2));
  // Page 2 holds the remaining 109 items; the cells after them are empty.
  EXPECT_EQ(textCell(0).text, hz(125 % 26));
  EXPECT_EQ(textCell(108).text, hz(233 % 26));
  EXPECT_TRUE(textCell(109).text.empty());
  EXPECT_TRUE(textCell(124).text.empty());
  EXPECT_EQ(d.pageStart(2), 0) << "no third page";

  typeItems(125, 233);
  EXPECT_TRUE(frame.practising());
  const int beepsBefore = host.beeps;
  typeChar(233 % 26);
  EXPECT_FALSE(frame.practising());
  EXPECT_EQ(host.beeps, beepsBefore + 1);
  EXPECT_TRUE(entryCell(109).text.empty()) << "no arrow after the last item";
  EXPECT_EQ(entryCell(108).text, hz(233 % 26));
  EXPECT_EQ(entryCell(108).colour, colour::Right);

  // After the end, typing and paging no longer reach the drill.
  const std::string typedBefore(d.typed().begin(), d.typed().end());
  typeChar(0);
  press(vk::Left);
  EXPECT_EQ(std::string(d.typed().begin(), d.typed().end()), typedBefore);
  EXPECT_EQ(d.viewPage(), 1);
}

TEST_F(DrillTest, WrongEntryIsStoredPinkCountedAndNeverAskedAgain) {
  startOnechar();
  CharWordDrill& d = drill(2);
  typeChar(0);
  typeChar(5);  // item 1 is hz(1)
  EXPECT_EQ(entryAt(d, 2), hz(5));
  EXPECT_EQ(entryCell(1).text, hz(5));
  EXPECT_EQ(entryCell(1).colour, colour::Wrong);
  EXPECT_TRUE(entryCell(1).filled);
  EXPECT_EQ(entryCell(0).colour, colour::Right);
  EXPECT_FALSE(textCell(1).filled);
  EXPECT_EQ(d.position(), 2);
  EXPECT_EQ(d.offset(), 4);
  EXPECT_EQ(textCell(2).colour, colour::Current);
  EXPECT_EQ(frame.view().accuracy, 50);
  typeChar(1);  // the right character for item 1 now goes to item 2 (hz(2)): wrong again
  EXPECT_EQ(entryAt(d, 4), hz(1));
  EXPECT_EQ(entryCell(2).colour, colour::Wrong);
  EXPECT_EQ(frame.view().accuracy, 33);
}

TEST_F(DrillTest, DeleteShowsTheArrowAgainAndCountsOneEntryFewer) {
  startOnechar();
  CharWordDrill& d = drill(2);
  for (int k = 0; k < 3; ++k) typeChar(k);
  typeChar(9);  // wrong
  clock.advance(std::chrono::seconds(60));
  frame.timerTick();
  EXPECT_EQ(frame.view().speed, "4");
  EXPECT_EQ(frame.view().accuracy, 75);

  press(vk::Back);
  EXPECT_EQ(d.position(), 3);
  EXPECT_EQ(d.offset(), 6);
  EXPECT_EQ(entryAt(d, 6), std::string(2, '\0'));
  EXPECT_EQ(entryCell(3).text, g("↑"));
  EXPECT_FALSE(entryCell(3).filled);
  EXPECT_EQ(textCell(3).colour, colour::Current);
  EXPECT_FALSE(textCell(4).filled);
  EXPECT_TRUE(entryCell(4).text.empty());
  EXPECT_EQ(frame.view().speed, "3");
  EXPECT_EQ(frame.view().accuracy, 100);
}

TEST_F(DrillTest, DeleteAtTheFirstItemOfPageOneChangesNothing) {
  startOnechar();
  CharWordDrill& d = drill(2);
  typeChar(0);
  press(vk::Back);
  EXPECT_EQ(frame.view().speed, "0") << "a deletion updates the score";
  frame.showSpeedAndAccuracy(35, 90);  // figures of an earlier tick
  press(vk::Back);
  EXPECT_EQ(d.position(), 0);
  EXPECT_EQ(d.offset(), 0);
  EXPECT_EQ(entryCell(0).text, g("↑"));
  EXPECT_EQ(textCell(0).colour, colour::Current);
  EXPECT_EQ(frame.view().speed, "35") << "deleting at the first item is no score update";
  EXPECT_EQ(frame.view().accuracy, 90);
}

TEST_F(DrillTest, DeleteAtTheStartOfPageTwoReturnsToTheLastCellOfPageOne) {
  startOnechar();
  CharWordDrill& d = drill(2);
  for (int k = 0; k < 125; ++k) typeChar(k % 3 == 0 ? (k + 1) % 26 : k % 26);  // every third wrong
  ASSERT_EQ(d.practicePage(), 1);
  press(vk::Back);
  EXPECT_EQ(d.practicePage(), 0);
  EXPECT_EQ(d.viewPage(), 0);
  EXPECT_EQ(d.position(), 124);
  EXPECT_EQ(d.offset(), 248);
  EXPECT_EQ(frame.view().pagesInfo, pageInfo(1, 1));
  for (int k = 0; k < 124; ++k) {
    ASSERT_EQ(textCell(k).text, hz(k % 26)) << k;
    ASSERT_FALSE(textCell(k).filled) << k;
    ASSERT_TRUE(entryCell(k).filled) << k;
    ASSERT_EQ(entryCell(k).colour, k % 3 == 0 ? colour::Wrong : colour::Right) << k;
  }
  EXPECT_EQ(textCell(124).colour, colour::Current);
  EXPECT_TRUE(textCell(124).filled);
  EXPECT_EQ(entryCell(124).text, g("↑"));
  EXPECT_EQ(entryAt(d, 248), std::string(2, '\0'));
  // Typing it again turns to page 2 once more.
  typeChar(124 % 26);
  EXPECT_EQ(d.practicePage(), 1);
  EXPECT_EQ(frame.view().pagesInfo, pageInfo(2, 2));
}

TEST_F(DrillTest, SpeedAndAccuracyFollowTheFormula) {
  startOnechar();
  for (int k = 0; k < 29; ++k) typeChar(k < 27 ? k % 26 : (k + 1) % 26);
  clock.advance(std::chrono::seconds(60));
  typeChar((29 + 1) % 26);
  EXPECT_EQ(frame.view().speed, "30");
  EXPECT_EQ(frame.view().accuracy, 90);
}

TEST_F(DrillTest, SevenEntriesWithinTheStartingSecond) {
  startOnechar();
  for (int k = 0; k < 7; ++k) typeChar(k < 2 ? k : (k + 3) % 26);
  EXPECT_EQ(frame.view().speed, "420");
  EXPECT_EQ(frame.view().accuracy, 28);
}

TEST_F(DrillTest, EndMessageCountsTheLastEntry) {
  startOnechar();
  for (int k = 0; k < 233; ++k) {
    clock.advance(std::chrono::seconds(1));
    typeChar(k == 7 ? 0 : k % 26);  // one wrong entry
  }
  EXPECT_EQ(frame.view().speed, "60");
  EXPECT_EQ(frame.view().accuracy, 99);
  clock.advance(std::chrono::seconds(233));
  typeChar(0);  // the last one wrong too, as long again as the rest
  EXPECT_FALSE(frame.practising());
  EXPECT_EQ(frame.view().speed, "30");
  EXPECT_EQ(frame.view().wordplace, g("练习结束! 打字速率：30 字/分钟正确率：99%"));
}

TEST_F(DrillTest, ARunAcrossMidnightKeepsItsTrueLength) {
  clock.set(20000, 23, 59, 30);
  startOnechar();
  for (int k = 0; k < 29; ++k) typeChar(k % 26);
  clock.set(20001, 0, 0, 30);
  typeChar(29 % 26);
  EXPECT_EQ(frame.view().speed, "30");
  EXPECT_EQ(frame.view().accuracy, 100);
}

TEST(ElapsedSeconds, WholeSecondsOfTheFullDateTimesAtLeastOne) {
  using namespace std::chrono;
  const platform::TimePoint start =
      platform::TimePoint{} + days{20000} + hours{23} + minutes{59} + milliseconds{30900};
  EXPECT_EQ(elapsedSeconds(start, start + minutes{1}), 60);
  EXPECT_EQ(elapsedSeconds(start, start + milliseconds{200}), 1) << "same second";
  EXPECT_EQ(elapsedSeconds(start, start + milliseconds{300}), 1) << "next second, floor of 1";
  EXPECT_EQ(elapsedSeconds(start, start + hours{1}), 3600) << "across midnight";
  EXPECT_EQ(elapsedSeconds(start, start - hours{1}), 1) << "clock set back";
  EXPECT_EQ(elapsedSeconds(start, start + days{2}), 2 * 86400);
}

TEST_F(DrillTest, TimerTickUpdatesTheScoreOnlyWhilePractising) {
  startOnechar();
  EXPECT_EQ(frame.view().speed, "0");
  typeChar(0);
  typeChar(1);
  clock.advance(std::chrono::seconds(30));
  frame.timerTick();
  EXPECT_EQ(frame.view().speed, "4");
  frame.endRun();
  clock.advance(std::chrono::seconds(90));
  frame.timerTick();
  EXPECT_EQ(frame.view().speed, "4");
}

TEST_F(DrillTest, PagingStopsAtPagesWhoseStartIsUnknown) {
  startOnechar();
  CharWordDrill& d = drill(2);
  typeChar(0);
  press(vk::Right);
  EXPECT_EQ(d.viewPage(), 1);
  EXPECT_EQ(frame.view().pagesInfo, pageInfo(2, 1));
  // Looking ahead: items shown, no entries, no current mark.
  EXPECT_EQ(textCell(0).text, hz(125 % 26));
  EXPECT_FALSE(textCell(0).filled);
  EXPECT_TRUE(entryCell(0).text.empty());
  press(vk::Next);
  press(vk::Down);
  EXPECT_EQ(d.viewPage(), 1) << "page 3 does not exist";
  // Typing on a page other than the practice page is refused.
  const int beeps = host.beeps;
  typeLetters("b");
  EXPECT_EQ(frame.view().wordplace, g("☆没有在练习页上！☆"));
  EXPECT_EQ(host.beeps, beeps + 1);
  EXPECT_TRUE(frame.codeBuffer().empty());
  EXPECT_EQ(d.offset(), 2);
  press(vk::Up);
  EXPECT_EQ(d.viewPage(), 0);
  EXPECT_EQ(entryCell(0).text, hz(0));
  EXPECT_EQ(entryCell(0).colour, colour::Right);
  EXPECT_EQ(textCell(1).colour, colour::Current);
  EXPECT_EQ(entryCell(1).text, g("↑"));
  EXPECT_TRUE(entryCell(2).text.empty());
  press(vk::Prior);
  EXPECT_EQ(d.viewPage(), 0);
  EXPECT_EQ(frame.view().pagesInfo, pageInfo(1, 1));
}

TEST_F(DrillTest, WordDrillPagingNeverPassesTheEleventhPage) {
  frame.selectMenuTag(4);
  CharWordDrill& d = drill(12);
  ASSERT_EQ(d.sequenceText().size(), 2736u);
  for (int i = 0; i < 30; ++i) press(vk::Right);
  EXPECT_EQ(d.viewPage(), 10);
  EXPECT_EQ(frame.view().pagesInfo, pageInfo(11, 1));
  // 1,368 items: the last page holds 118 of them.
  EXPECT_FALSE(textCell(117).text.empty());
  EXPECT_TRUE(textCell(118).text.empty());
  for (int i = 0; i < 30; ++i) press(vk::Left);
  EXPECT_EQ(d.viewPage(), 0);
}

TEST_F(DrillTest, WordDrillSeparatorIsRightOnlyForTwoSpaces) {
  frame.selectMenuTag(4);
  CharWordDrill& d = drill(12);
  ASSERT_EQ(itemAt(d, 0) + itemAt(d, 2), word(2, 0));
  EXPECT_EQ(itemAt(d, 4), "  ");
  typeLetters(wordCode(0));  // four letters, one candidate: entered at once
  EXPECT_EQ(d.offset(), 4);
  EXPECT_EQ(entryCell(0).colour, colour::Right);
  EXPECT_EQ(entryCell(1).colour, colour::Right);
  press(vk::Space);  // no code pending: a space item
  EXPECT_EQ(entryAt(d, 4), "  ");
  EXPECT_EQ(entryCell(2).colour, colour::Right);
  typeLetters(wordCode(1));
  frame.setLetterMode(true);
  press(key('x'));  // the separator gets " x"
  EXPECT_EQ(entryAt(d, 10), " x");
  EXPECT_EQ(entryCell(5).colour, colour::Wrong);
  EXPECT_EQ(frame.view().accuracy, 83);
}

TEST_F(DrillTest, LongerWordDrillsDrawWholeWordsWithSeparators) {
  random.reset({});
  frame.selectMenuTag(5);
  EXPECT_EQ(drill(13).sequenceText().substr(0, 8), word(3, 0) + "  ");
  EXPECT_EQ(drill(13).sequenceText().size(), 2720u);
  random.reset({});
  frame.selectMenuTag(6);
  EXPECT_EQ(drill(14).sequenceText().substr(10, 10), word(4, 1) + "  ");
  EXPECT_EQ(drill(14).sequenceText().size(), 2720u);
  frame.selectMenuTag(3);
  EXPECT_EQ(drill(5).sequenceText().size(), 1424u);
}

TEST_F(DrillTest, CharacterDrillsDrawTheirFixedCountsFromTheirRecordRange) {
  const std::map<int, int> tagToItems = {{0, 234},  {1, 512},  {2, 512},  {3, 712},  {11, 490},
                                         {22, 300}, {33, 220}, {44, 156}, {55, 208}, {66, 240}};
  for (auto [tag, items] : tagToItems) {
    random.reset({});
    frame.selectMenuTag(tag);
    const CharWordDrill& d = drill(frame.practiceKind());
    EXPECT_EQ(d.sequenceText().size(), static_cast<std::size_t>(items) * 2) << tag;
    // With the counting source, item k is record k mod Records.
    const std::string& records = frame.data().tables[frame.practiceKind()].records;
    const int k = items - 1;
    const std::size_t rec = static_cast<std::size_t>(k % d.params().records) *
                            static_cast<std::size_t>(d.params().recordBytes);
    EXPECT_EQ(itemAt(d, 2 * k), records.substr(rec, 2)) << tag;
  }
}

TEST_F(DrillTest, EveryWordOfTheManyCharacterTableOccursOnce) {
  auto wordsOf = [](const std::string& seq) {
    std::vector<std::string> out;
    std::size_t at = 0;
    while (at < seq.size()) {
      const std::size_t sep = seq.find("  ", at);
      out.push_back(seq.substr(at, sep - at));
      at = sep + 2;
    }
    return out;
  };
  std::multiset<std::string> expected;
  for (const WordmEntry& e : frame.data().wordm) expected.insert(e.text);

  for (const std::vector<int>& script :
       {std::vector<int>(296, 5), std::vector<int>{}, std::vector<int>{0, 0, 7, 7, 294}}) {
    random.reset(script);
    frame.selectMenuTag(7);
    const std::vector<std::string> words = wordsOf(drill(15).sequenceText());
    ASSERT_EQ(words.size(), 296u);
    EXPECT_EQ(std::multiset<std::string>(words.begin(), words.end()), expected);
  }
  // A real generator too.
  platform::RandomSource real;
  PracticeFrame other(FrameServices{&host, &clock, &real, &locks}, makePracticeKind);
  other.setUp(craftedData());
  for (int run = 0; run < 20; ++run) {
    other.selectMenuTag(7);
    const auto& d = dynamic_cast<const CharWordDrill&>(*other.kind(15));
    const std::vector<std::string> words = wordsOf(d.sequenceText());
    ASSERT_EQ(std::multiset<std::string>(words.begin(), words.end()), expected);
  }
}

TEST_F(DrillTest, ManyCharacterShuffleFillsTheGapsFromTheTopDown) {
  // All draws 5: slot 0 keeps 5, the other slots take 295, 294, ... 6, 4, 3, 2, 1, 0.
  random.reset(std::vector<int>(296, 5));
  frame.selectMenuTag(7);
  const std::string seq = drill(15).sequenceText();
  const auto& entries = frame.data().wordm;
  std::vector<int> order = {5};
  for (int n = 295; n >= 0; --n)
    if (n != 5) order.push_back(n);
  std::string expected;
  for (int n : order) expected += entries[static_cast<std::size_t>(n)].text + "  ";
  EXPECT_EQ(seq, expected);
}

TEST_F(DrillTest, ManyCharacterRunTrimsBlanksAndControlCharacters) {
  PracticeData data = craftedData();
  std::string records;
  for (int i = 0; i < 296; ++i)
    records += (i == 3 ? " \t" + hz(i) + "\x01 " : hz(i)) + "m" + letters(i, 3);
  data.tables[15].records = records;
  data.wordm = splitWordm(records, 296);
  frame.setUp(std::move(data));
  random.reset({});
  frame.selectMenuTag(7);
  const std::string seq = drill(15).sequenceText();
  EXPECT_NE(seq.find("  " + hz(3) + "  "), std::string::npos);
  EXPECT_EQ(seq.find('\t'), std::string::npos);
  EXPECT_EQ(seq.size(), 296u * 4);
}

TEST_F(DrillTest, ManyCharacterRunEndingOnTheLastCellTurnsToAnEmptyPageThenEnds) {
  // 263 one-character words and 33 two-character words: 625 items, five full pages.
  std::vector<int> lengths(296, 1);
  for (int i = 0; i < 33; ++i) lengths[static_cast<std::size_t>(i)] = 2;
  PracticeData data = craftedData();
  setWordm(data, lengths);
  frame.setUp(std::move(data));
  frame.selectMenuTag(7);
  CharWordDrill& d = drill(15);
  ASSERT_EQ(d.sequenceText().size(), 1250u);
  frame.setLetterMode(true);
  for (int k = 0; k < 624; ++k) press(key('q'));
  EXPECT_EQ(d.practicePage(), 4);
  EXPECT_EQ(d.position(), 124);
  EXPECT_TRUE(frame.practising());
  press(key('q'));
  EXPECT_FALSE(frame.practising());
  EXPECT_EQ(d.practicePage(), 5);
  EXPECT_EQ(frame.view().pagesInfo, pageInfo(6, 6));
  for (int k = 0; k < 125; ++k) {
    ASSERT_TRUE(textCell(k).text.empty()) << k;
    ASSERT_FALSE(textCell(k).filled) << k;
    ASSERT_TRUE(entryCell(k).text.empty()) << k;
  }
  EXPECT_EQ(frame.view().wordplace.substr(0, g("练习结束!").size()), g("练习结束!"));
}

TEST_F(DrillTest, ManyCharacterRunIsCutBelowTwentyOnePages) {
  // 296 words of 13 characters would need 4,144 items; the run keeps whole
  // words up to 2,624 items, so it never needs a 22nd page.
  PracticeData data = craftedData();
  setWordm(data, std::vector<int>(296, 13));
  frame.setUp(std::move(data));
  frame.selectMenuTag(7);
  CharWordDrill& d = drill(15);
  const std::string seq = d.sequenceText();
  EXPECT_EQ(seq.size(), 187u * 28);  // 187 words of 14 items fit in 2,624 items
  EXPECT_EQ(seq.size() % 28, 0u);
  EXPECT_LE(seq.size(), static_cast<std::size_t>(kWordmMaxRunBytes));
  for (int i = 0; i < 40; ++i) press(vk::Right);
  EXPECT_EQ(d.viewPage(), 20);
  EXPECT_FALSE(textCell(117).text.empty());  // 2,618 items: 118 on the last page
  EXPECT_TRUE(textCell(118).text.empty());
  // Type the whole run: it ends on page 21 (index 20) and never writes past its buffers.
  for (int i = 0; i < 40; ++i) press(vk::Left);
  frame.setLetterMode(true);
  for (std::size_t k = 0; k < seq.size() / 2; ++k) press(key('q'));
  EXPECT_FALSE(frame.practising());
  EXPECT_EQ(d.practicePage(), 20);
}

TEST_F(DrillTest, CodeHintShowsTheCurrentItemsCodes) {
  startOnechar();
  typeChar(0);
  press(vk::F1);
  ASSERT_EQ(host.charHints.size(), 1u);
  EXPECT_EQ(host.charHints[0].Text, hz(1));
  EXPECT_EQ(host.charHints[0].OneCode, "b");
  // The hint button does the same while practising.
  frame.hintButton();
  EXPECT_EQ(host.charHints.size(), 2u);
}

TEST_F(DrillTest, WordHintShowsTheCurrentCharacterAndItsWord) {
  PracticeData data = craftedData();
  // Give the second character of word3 #0 a full code.
  const std::string second = word(3, 0).substr(2, 2);
  data.tables[5].records.replace(0, 6, second + "abcd");
  frame.setUp(std::move(data));
  frame.selectMenuTag(5);
  frame.setLetterMode(true);
  press(key('q'));  // on to the second character
  press(vk::F1);
  ASSERT_EQ(host.wordHints.size(), 1u);
  EXPECT_EQ(host.wordHints[0].codes.Text, second);
  EXPECT_EQ(host.wordHints[0].codes.AllCode, "abcd");
  EXPECT_EQ(host.wordHints[0].word.Text, word(3, 0));
  EXPECT_EQ(host.wordHints[0].word.Code, wordCode(0));
  // The separator has no full code: nothing is shown.
  press(key('q'));
  press(key('q'));
  press(vk::F1);
  EXPECT_EQ(host.wordHints.size(), 1u);
}

TEST_F(DrillTest, AbsentDataDoesNotStartAndChangesNothingElse) {
  PracticeData data = craftedData();
  data.tables[2] = DrillTable{};
  data.tables[12].records.resize(100);  // far fewer than 13,432 records
  frame.setUp(std::move(data));
  const FrameView before = frame.view();
  frame.selectMenuTag(0);
  EXPECT_EQ(frame.practiceKind(), pkNone);
  EXPECT_FALSE(frame.practising());
  EXPECT_EQ(frame.view().wordplace, g("☆该练习的数据缺失，无法开始！☆"));
  EXPECT_EQ(host.beeps, 1);
  EXPECT_EQ(frame.view().pagesInfo, before.pagesInfo);
  EXPECT_EQ(frame.view().trainName, before.trainName);
  EXPECT_EQ(frame.view().practiceAreaShown, before.practiceAreaShown);
  EXPECT_EQ(frame.view().splitterPercent, before.splitterPercent);

  // With another practice running, that practice goes on.
  frame.selectMenuTag(1);
  ASSERT_TRUE(frame.practising());
  typeLetters("a");
  frame.selectMenuTag(4);
  EXPECT_EQ(frame.practiceKind(), pkTwochar);
  EXPECT_TRUE(frame.practising());
  EXPECT_EQ(frame.view().trainName, g("当前练习：二级简码"));
  EXPECT_EQ(host.beeps, 2);
}

TEST_F(DrillTest, KeysDuringAPageFillDoNotReachTheDrill) {
  startOnechar();
  CharWordDrill& d = drill(2);
  typeItems(0, 124);
  int reentries = 0;
  host.onPendingEvents = [&] {
    ++reentries;
    typeChar(3);
    press(vk::Back);
    press(vk::Right);
  };
  typeChar(124 % 26);  // fills page 2, running pending events after each line
  host.onPendingEvents = nullptr;
  EXPECT_EQ(reentries, 5);
  EXPECT_EQ(d.offset(), 250);
  EXPECT_EQ(d.position(), 0);
  EXPECT_EQ(d.practicePage(), 1);
  EXPECT_EQ(entryAt(d, 250), std::string(2, '\0'));
}

TEST_F(DrillTest, ARunStartedDuringAPageFillIsNotDisturbedByTheOldStep) {
  chooseDuringPageTurn(0, {7});
  CharWordDrill& d = drill(2);
  EXPECT_TRUE(frame.practising());
  EXPECT_EQ(d.practicePage(), 0);
  EXPECT_EQ(d.viewPage(), 0);
  EXPECT_EQ(d.position(), 0);
  EXPECT_EQ(d.offset(), 0);
  EXPECT_EQ(d.typed()[0], '\0');
  EXPECT_EQ(itemAt(d, 0), hz(7));
  EXPECT_EQ(textCell(0).text, hz(7));
  EXPECT_EQ(entryCell(0).text, g("↑"));
  EXPECT_EQ(frame.view().pagesInfo, pageInfo(1, 1));
  typeChar(7);
  EXPECT_EQ(entryAt(d, 0), hz(7));
  EXPECT_EQ(d.offset(), 2);
}

TEST_F(DrillTest, AnotherKindStartedDuringAPageTurnKeepsItsOwnPage) {
  const std::string speedBefore = chooseDuringPageTurn(1, {});  // 二级简码
  EXPECT_EQ(frame.practiceKind(), pkTwochar);
  EXPECT_TRUE(frame.practising());
  const CharWordDrill& d = drill(3);
  for (int k = 0; k < 125; ++k) {
    ASSERT_EQ(textCell(k).text, itemAt(d, 2 * k)) << k;
    ASSERT_EQ(textCell(k).filled, k == 0) << k;
    ASSERT_EQ(entryCell(k).text, k == 0 ? g("↑") : std::string()) << k;
  }
  EXPECT_EQ(frame.view().pagesInfo, pageInfo(1, 1));
  EXPECT_EQ(frame.view().speed, speedBefore) << "the old run's score is not updated";
  EXPECT_EQ(drill(2).viewPage(), 0) << "the old run took no further step";
}

TEST_F(DrillTest, StartingAgainReplacesTheRun) {
  startOnechar();
  typeItems(0, 130);
  random.reset({3});
  frame.selectMenuTag(0);
  CharWordDrill& d = drill(2);
  EXPECT_EQ(d.practicePage(), 0);
  EXPECT_EQ(d.offset(), 0);
  EXPECT_EQ(d.pageStart(2), 0);
  EXPECT_EQ(itemAt(d, 0), hz(3));
  EXPECT_EQ(d.typed()[0], '\0');
  EXPECT_EQ(frame.view().pagesInfo, pageInfo(1, 1));
  EXPECT_TRUE(entryCell(5).text.empty());
}

}  // namespace
}  // namespace quorvel::testing

namespace quorvel::testing {
namespace {

// The built resource library: every drill starts, and the code of each
// current item, typed through code entry, enters that item.
class BuiltLibraryDrillTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::filesystem::exists(QUORVEL_BUILT_LIBRARY))
      GTEST_SKIP() << "no built resource library";
    frame.setUp(platform::ResourceLibrary(QUORVEL_BUILT_LIBRARY));
  }
  void press(std::uint16_t key) { frame.keyDown(vk::KeyPress{key, 0}); }
  RecordingHost host;
  FakeClock clock;
  platform::RandomSource random;
  FakeLocks locks;
  PracticeFrame frame{FrameServices{&host, &clock, &random, &locks}, makePracticeKind};
};

TEST_F(BuiltLibraryDrillTest, EveryDrillStartsAndTheFullCodesEnterTheItems) {
  EXPECT_FALSE(frame.view().previewText.empty());
  for (int kind = pkOnechar; kind <= pkWordm; ++kind) {
    ASSERT_TRUE(frame.canStartKind(kind)) << kind;
    frame.selectKind(kind);
    ASSERT_TRUE(frame.practising()) << kind;
    const auto& d = dynamic_cast<const CharWordDrill&>(*frame.kind(kind));
    EXPECT_FALSE(d.sequenceText().empty()) << kind;
    if (kind == pkWordm) {
      EXPECT_LE(d.sequenceText().size(), static_cast<std::size_t>(kWordmMaxRunBytes));
    }
  }
  // Full codes of a character run, chosen from the candidate list.
  frame.selectKind(pkAllchar);
  const auto& d = dynamic_cast<const CharWordDrill&>(*frame.kind(pkAllchar));
  for (int k = 0; k < 40; ++k) {
    const std::string item(d.sequence().begin() + d.offset(),
                           d.sequence().begin() + d.offset() + 2);
    std::string code = LookupCharCodes(frame.data(), item).AllCode;
    while (!code.empty() && code.back() == ' ') code.pop_back();
    ASSERT_GE(code.size(), 3u) << k;
    const int before = d.offset();
    for (char c : code) press(static_cast<std::uint16_t>(vk::KeyA + (c - 'a')));
    if (d.offset() == before) {
      const auto at = std::find(frame.candidates().begin(), frame.candidates().end(), item);
      ASSERT_NE(at, frame.candidates().end()) << "code " << code << " does not list its character";
      press(static_cast<std::uint16_t>(vk::Key0 + 1 + (at - frame.candidates().begin())));
    }
    ASSERT_EQ(d.offset(), before + 2);
  }
  EXPECT_EQ(frame.view().accuracy, 100);
}

}  // namespace
}  // namespace quorvel::testing
