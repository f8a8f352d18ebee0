// Code entry: candidates from the lookup dictionary and the code keys.
#include <gtest/gtest.h>

#include "practice/CodeEntry.h"
#include "support/FrameFixture.h"

namespace quorvel::testing {
namespace {

// Candidate texts used below (GBK).
const std::string A = hz(1000), B = hz(1001), C = hz(1002), D = hz(1003), E = hz(1004) + hz(1005),
                  F = hz(1006), G = hz(1007), H = hz(1008), K = hz(1009);

std::string longText(int chars) {
  std::string s;
  for (int i = 0; i < chars; ++i) s += hz(1100 + i);
  return s;
}

BaseSegments codeBase() {
  return splitBase(baseText({
      {'a', {"ab " + H}},
      {'b', {"ba " + G}},
      {'z',
       {"zt " + A, "zt   " + B, "ztb " + C, "ztc " + D, "ztcd " + E, "ztcd " + F, "ztd " + G,
        "ztee " + K, "zx " + H, "zy " + hz(1010) + " " + hz(1011), "zz " + longText(14)}},
  }));
}

TEST(FindCandidates, PrefixMatchesInDictionaryOrderAtMostSix) {
  const BaseSegments base = codeBase();
  const Candidates zt = findCandidates(base, "zt");
  EXPECT_EQ(zt, (Candidates{A, B, C, D, E, F}));
  EXPECT_EQ(findCandidates(base, "ztcd"), (Candidates{E, F, "", "", "", ""}));
  EXPECT_EQ(findCandidates(base, "ztc"), (Candidates{D, E, F, "", "", ""}));
  // "z" lists its own line first, then the lines that go on from it.
  EXPECT_EQ(findCandidates(base, "z")[0], hz(25));
  EXPECT_EQ(findCandidates(base, "z")[1], A);
  // A segment ends at the next letter's lines.
  EXPECT_EQ(findCandidates(base, "a"), (Candidates{hz(0), H, "", "", "", ""}));
  EXPECT_EQ(findCandidates(base, "b"), (Candidates{hz(1), G, "", "", "", ""}));
}

TEST(FindCandidates, ACharacterUnderSeveralCodesIsListedOnce) {
  // 等 stands under "zt" (short code) and "ztgd" (full code); "l" finds one
  // character under four of its codes.
  const BaseSegments base = splitBase(baseText({
      {'l', {"lx " + A, "lxy " + B, "lxyz " + B, "ly " + B, "lz " + C}},
      {'z', {"zt " + D, "ztgd " + D, "ztq " + E}},
  }));
  EXPECT_EQ(findCandidates(base, "l"), (Candidates{hz(11), A, B, C, "", ""}));
  EXPECT_EQ(findCandidates(base, "zt"), (Candidates{D, E, "", "", "", ""}));
}

TEST(FindCandidates, BlanksAreNotCollectedAndTextsAreCutAt26Bytes) {
  const BaseSegments base = codeBase();
  EXPECT_EQ(findCandidates(base, "zy")[0], hz(1010) + hz(1011));
  const std::string cut = findCandidates(base, "zz")[0];
  EXPECT_EQ(cut.size(), 26u);
  EXPECT_EQ(cut, longText(13));
}

TEST(FindCandidates, CodesThatMatchNothingGiveNoCandidates) {
  const BaseSegments base = codeBase();
  EXPECT_EQ(findCandidates(base, "zq"), Candidates{});  // occurs nowhere in the segment
  EXPECT_EQ(findCandidates(base, "ztbq"), Candidates{});
  EXPECT_EQ(findCandidates(base, "zb"), Candidates{});  // "zb" occurs nowhere either
  EXPECT_EQ(findCandidates(base, "ztx"), Candidates{});
  EXPECT_EQ(findCandidates(base, ""), Candidates{});
  EXPECT_EQ(findCandidates(BaseSegments{}, "zt"), Candidates{});
  EXPECT_EQ(findCandidates(base, "9a"), Candidates{});
}

TEST(FindCandidates, ABaseWithCrLfLineEndsSplitsAfterTheFirstLine) {
  // The dictionary format uses CR alone; CR LF ends each segment early.
  const BaseSegments base = splitBase("a " + hz(0) + "\r\nab " + hz(1) + "\r\n");
  EXPECT_EQ(findCandidates(base, "a")[1], "");
}

TEST(CandidateLine, NumbersEachCandidateAndEndsWithABlank) {
  EXPECT_EQ(candidateLine(Candidates{A, B, "", "", "", ""}), "1," + A + " 2," + B + " ");
  EXPECT_EQ(candidateLine(Candidates{}), "");
  EXPECT_EQ(candidateLine(Candidates{A, B, C, D, E, F}),
            "1," + A + " 2," + B + " 3," + C + " 4," + D + " 5," + E + " 6," + F + " ");
}

class CodeEntryTest : public FrameFixture {
 protected:
  void SetUp() override {
    PracticeData data = craftedData();
    data.base = codeBase();
    frame.setUp(std::move(data));
    frame.selectMenuTag(0);
  }
  CharWordDrill& d() { return drill(2); }
  std::string entries() const {
    const auto& t =
        dynamic_cast<const CharWordDrill&>(*const_cast<PracticeFrame&>(frame).kind(2)).typed();
    return std::string(t.begin(), std::find(t.begin(), t.end(), '\0'));
  }
};

TEST_F(CodeEntryTest, SpaceEntersASpaceItemOrTheFirstCandidateOrNothing) {
  press(vk::Space);
  EXPECT_EQ(entries(), "  ");
  typeLetters("zq");
  EXPECT_EQ(frame.view().keyplace, "ZQ");
  EXPECT_EQ(frame.view().wordplace, "");
  press(vk::Space);
  EXPECT_EQ(entries(), "  ") << "no candidates: nothing entered";
  EXPECT_EQ(frame.codeBuffer(), "zq");
  press(vk::Back);
  press(vk::Back);
  typeLetters("zt");
  EXPECT_EQ(frame.view().wordplace, candidateLine(Candidates{A, B, C, D, E, F}));
  press(vk::Return, vk::ModShift);
  EXPECT_EQ(entries(), "  " + A);
  EXPECT_EQ(frame.view().wordplace, A);
  EXPECT_EQ(frame.view().keyplace, "");
  EXPECT_TRUE(frame.codeBuffer().empty());
}

TEST_F(CodeEntryTest, DigitsEnterThemselvesWithoutACodeAndChooseWithOne) {
  press(vk::Key0 + 1);
  EXPECT_EQ(entries(), " 1");
  typeLetters("zt");
  press(vk::Key0 + 2);
  EXPECT_EQ(entries(), " 1" + B);
  typeLetters("zt");
  press(vk::Key0 + 5);
  EXPECT_EQ(entries(), " 1" + B + E) << "a word enters character by character";
  EXPECT_EQ(d().offset(), 8);
  typeLetters("zt");
  press(vk::Key0 + 9);
  typeLetters("zt");
  press(vk::Key0);
  EXPECT_EQ(entries(), " 1" + B + E + F + F) << "6 to 9 and 0 all choose the sixth";
}

TEST_F(CodeEntryTest, ChoosingBeyondTheListClearsTheCodeAndEntersNothing) {
  typeLetters("ztc");
  press(vk::Key0 + 6);
  EXPECT_EQ(entries(), "");
  EXPECT_TRUE(frame.codeBuffer().empty());
  EXPECT_EQ(frame.view().keyplace, "");
  // A digit now enters itself again.
  press(vk::Key0 + 4);
  EXPECT_EQ(entries(), " 4");
}

TEST_F(CodeEntryTest, KeypadDigitsFollowNumLock) {
  locks.num = true;
  press(vk::Numpad0 + 3);
  EXPECT_EQ(entries(), " 3");
  typeLetters("zt");
  press(vk::Numpad0 + 2);
  EXPECT_EQ(entries(), " 3" + B);
  typeLetters("zt");
  press(vk::Numpad0 + 8);
  EXPECT_EQ(entries(), " 3" + B + F);
  typeLetters("ztcd");  // two candidates: waits
  press(vk::Numpad0);
  EXPECT_TRUE(frame.codeBuffer().empty()) << "keypad 0 drops a full code";
  EXPECT_EQ(entries(), " 3" + B + F);
  // ... and the code line with it, so nothing on show suggests a choice is still open.
  EXPECT_EQ(frame.view().keyplace, "");
  EXPECT_EQ(frame.view().wordplace, "");
  press(vk::Numpad0 + 1);
  EXPECT_EQ(entries(), " 3" + B + F + " 1");
  typeLetters("zt");
  press(vk::Numpad0);
  EXPECT_EQ(frame.codeBuffer(), "zt") << "keypad 0 keeps a shorter code";
  locks.num = false;
  press(vk::Numpad0 + 1);
  EXPECT_EQ(frame.codeBuffer(), "zt");
  EXPECT_EQ(entries(), " 3" + B + F + " 1") << "without Num Lock the keypad enters nothing";
  press(vk::Numpad0 + 1, vk::ModShift);
  EXPECT_EQ(entries(), " 3" + B + F + " 1");
}

TEST_F(CodeEntryTest, FourLettersWithOneCandidateEnterItAtOnce) {
  typeLetters("ztee");
  EXPECT_EQ(entries(), K);
  EXPECT_EQ(frame.view().wordplace, K);
  EXPECT_TRUE(frame.codeBuffer().empty());
  typeLetters("ztcd");
  EXPECT_EQ(entries(), K) << "two candidates wait for a choice";
  EXPECT_EQ(frame.view().keyplace, "ZTCD");
  EXPECT_EQ(frame.view().wordplace, candidateLine(Candidates{E, F, "", "", "", ""}));
  typeLetters("z");  // a fifth letter starts a new code
  EXPECT_EQ(frame.codeBuffer(), "z");
  EXPECT_EQ(frame.view().keyplace, "Z");
  EXPECT_EQ(entries(), K);
  typeLetters("tbq");  // four letters, no candidate
  EXPECT_EQ(frame.codeBuffer(), "ztbq");
  EXPECT_EQ(frame.view().wordplace, "");
  EXPECT_EQ(entries(), K);
}

TEST_F(CodeEntryTest, AnUnresolvedFullCodeIsDroppedByTheNextKey) {
  typeLetters("ztbq");
  press(vk::Space);
  EXPECT_TRUE(frame.codeBuffer().empty()) << "Space finds nothing to choose and drops the code";
  EXPECT_EQ(frame.view().keyplace, "");
  EXPECT_EQ(entries(), "");
  typeLetters("ztcd");
  press(vk::OemPeriod);
  EXPECT_EQ(entries(), g("。")) << "the punctuation is entered";
  EXPECT_TRUE(frame.codeBuffer().empty()) << "and the waiting code dropped";
  EXPECT_EQ(frame.view().wordplace, "");
  typeLetters("ztc");
  press(vk::OemPeriod);
  EXPECT_EQ(frame.codeBuffer(), "ztc") << "a shorter code stays";
  EXPECT_EQ(frame.view().wordplace, candidateLine(Candidates{D, E, F, "", "", ""}));
}

TEST_F(CodeEntryTest, BackspaceShortensTheCodeThenDeletesEntries) {
  typeChar(0);
  typeLetters("ztc");
  press(vk::Back);
  EXPECT_EQ(frame.codeBuffer(), "zt");
  EXPECT_EQ(frame.view().keyplace, "ZT");
  EXPECT_EQ(frame.view().wordplace, candidateLine(Candidates{A, B, C, D, E, F}));
  press(vk::Back);
  press(vk::Back);
  EXPECT_TRUE(frame.codeBuffer().empty());
  EXPECT_EQ(frame.view().keyplace, "");
  EXPECT_EQ(frame.view().wordplace, "");
  EXPECT_EQ(d().offset(), 2);
  press(vk::Back);
  EXPECT_EQ(d().offset(), 0);
  EXPECT_EQ(entries(), "");
}

TEST_F(CodeEntryTest, ACommitStopsWhenThePracticeEndsAndKeepsTheEndMessage) {
  for (int k = 0; k < 233; ++k) typeChar(k % 26);
  typeLetters("ztcd");
  press(vk::Key0 + 1);  // a two-character word for the one item left
  EXPECT_FALSE(frame.practising());
  EXPECT_EQ(d().offset(), 468);
  EXPECT_EQ(entryAt(d(), 466), E.substr(0, 2));
  EXPECT_EQ(frame.view().wordplace.substr(0, g("练习结束!").size()), g("练习结束!"));
}

TEST_F(CodeEntryTest, TheCodeLineIsEmptiedWhenAPracticeStarts) {
  typeLetters("zt");
  frame.selectMenuTag(1);
  EXPECT_TRUE(frame.codeBuffer().empty());
  EXPECT_EQ(frame.view().keyplace, "");
  EXPECT_EQ(frame.view().wordplace, "");
  for (const std::string& c : frame.candidates()) EXPECT_TRUE(c.empty());
}

}  // namespace
}  // namespace quorvel::testing
