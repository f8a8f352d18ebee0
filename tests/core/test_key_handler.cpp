// The frame's key handler, the letter-mode and punctuation tables, the
// function keys and the start of a practice.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <vector>

#include "drills/RootDrill.h"
#include "support/FrameFixture.h"

namespace quorvel::testing {
namespace {

class KeyTest : public FrameFixture {
 protected:
  void SetUp() override {
    FrameFixture::SetUp();
    frame.selectMenuTag(0);
  }
  std::string entries() {
    const auto& t = drill(2).typed();
    return std::string(t.begin(), std::find(t.begin(), t.end(), '\0'));
  }
  // What one key press enters, as the bytes it adds to the typed text.
  std::string entered(std::uint16_t k, std::uint8_t modifiers = 0) {
    const std::string before = entries();
    press(k, modifiers);
    return entries().substr(before.size());
  }
};

TEST_F(KeyTest, LetterModeLettersFollowShiftAndCapsLock) {
  frame.setLetterMode(true);
  EXPECT_EQ(entered(key('a')), " a");
  EXPECT_EQ(entered(key('q'), vk::ModShift), " Q");
  EXPECT_EQ(entered(key('z'), vk::ModCtrl), " Z") << "any modifier counts";
  locks.caps = true;
  EXPECT_EQ(entered(key('b')), " B");
  EXPECT_EQ(entered(key('c'), vk::ModShift), " c");
}

TEST_F(KeyTest, LetterModeDigitsSpaceAndKeypad) {
  frame.setLetterMode(true);
  const std::string shifted = ")!@#$%^&*(";
  for (int d = 0; d <= 9; ++d) {
    EXPECT_EQ(entered(static_cast<std::uint16_t>(vk::Key0 + d)),
              std::string(" ") + static_cast<char>('0' + d));
    EXPECT_EQ(entered(static_cast<std::uint16_t>(vk::Key0 + d), vk::ModShift),
              std::string(" ") + shifted[static_cast<std::size_t>(d)]);
  }
  EXPECT_EQ(entered(vk::Space), "  ");
  EXPECT_EQ(entered(vk::Return, vk::ModCtrl), "  ");
  locks.num = true;
  EXPECT_EQ(entered(vk::Numpad0 + 7), " 7");
  EXPECT_EQ(entered(vk::Numpad0 + 7, vk::ModShift), "");
  locks.num = false;
  EXPECT_EQ(entered(vk::Numpad0 + 7), "");
  EXPECT_EQ(entered(vk::Tab), "");
  EXPECT_EQ(entered(vk::F5), "");
  EXPECT_EQ(entered(vk::Multiply), "");
}

TEST_F(KeyTest, LetterModePunctuationUsesTheUsLayout) {
  frame.setLetterMode(true);
  const std::uint16_t keys[] = {vk::Oem1,      vk::OemPlus, vk::OemComma, vk::OemMinus,
                                vk::OemPeriod, vk::Oem2,    vk::Oem3,     vk::Oem4,
                                vk::Oem5,      vk::Oem6,    vk::Oem7};
  const std::string plain = ";=,-./`[\\]'";
  const std::string shifted = ":+<_>?~{|}\"";
  for (std::size_t i = 0; i < 11; ++i) {
    EXPECT_EQ(entered(keys[i]), std::string(" ") + plain[i]) << i;
    EXPECT_EQ(entered(keys[i], vk::ModShift), std::string(" ") + shifted[i]) << i;
  }
}

TEST_F(KeyTest, CodeModePunctuationTable) {
  const std::map<std::pair<std::uint16_t, bool>, std::string> table = {
      {{vk::Key0, true}, g("）")},       {{vk::Key0 + 1, true}, g("！")},
      {{vk::Key0 + 2, true}, g("·")},    {{vk::Key0 + 3, true}, " #"},
      {{vk::Key0 + 4, true}, g("￥")},   {{vk::Key0 + 5, true}, " %"},
      {{vk::Key0 + 6, true}, g("……")},   {{vk::Key0 + 7, true}, g("—")},
      {{vk::Key0 + 8, true}, " *"},      {{vk::Key0 + 9, true}, g("（")},
      {{vk::Oem1, false}, g("；")},      {{vk::Oem1, true}, g("：")},
      {{vk::OemPlus, false}, " ="},      {{vk::OemPlus, true}, " +"},
      {{vk::OemComma, false}, g("，")},  {{vk::OemComma, true}, g("《")},
      {{vk::OemMinus, false}, " -"},     {{vk::OemMinus, true}, g("——")},
      {{vk::OemPeriod, false}, g("。")}, {{vk::OemPeriod, true}, g("》")},
      {{vk::Oem2, false}, " /"},         {{vk::Oem2, true}, g("？")},
      {{vk::Oem3, false}, " `"},         {{vk::Oem3, true}, " ~"},
      {{vk::Oem4, false}, " ["},         {{vk::Oem4, true}, " {"},
      {{vk::Oem5, false}, g("、")},      {{vk::Oem5, true}, " |"},
      {{vk::Oem6, false}, " ]"},         {{vk::Oem6, true}, " }"},
  };
  for (const auto& [k, text] : table) {
    EXPECT_EQ(entered(k.first, k.second ? vk::ModShift : 0), text)
        << k.first << (k.second ? " shifted" : "");
  }
  EXPECT_EQ(g("……").size(), 4u) << "two entries";
  EXPECT_EQ(entered(vk::Tab), "");
  EXPECT_EQ(entered(vk::Multiply), "");
}

// A text's “‘…’” is typed as it stands: opening marks first, single and
// double marks each pairing on their own, and a new run opens again.
TEST_F(KeyTest, QuoteMarksOpenFirstAndPairUpEachOnTheirOwn) {
  EXPECT_EQ(entered(vk::Oem7, vk::ModShift), g("“"));
  EXPECT_EQ(entered(vk::Oem7), g("‘"));
  EXPECT_EQ(entered(vk::Oem7), g("’"));
  EXPECT_EQ(entered(vk::Oem7, vk::ModShift), g("”"));
  EXPECT_EQ(entered(vk::Oem7, vk::ModShift), g("“"));
  frame.selectMenuTag(0);  // a new run
  EXPECT_EQ(entered(vk::Oem7, vk::ModShift), g("“"));
  EXPECT_EQ(entered(vk::Oem7), g("‘"));
}

TEST_F(KeyTest, PunctuationWithACodePendingKeepsTheCode) {
  typeLetters("a");
  EXPECT_EQ(entered(vk::OemComma), g("，"));
  EXPECT_EQ(frame.codeBuffer(), "a");
  EXPECT_EQ(frame.view().keyplace, "A");
  EXPECT_EQ(entered(vk::Space), hz(0));
}

TEST_F(KeyTest, ADoubledMarkAtTheLastItemEntersOnlyOnce) {
  for (int k = 0; k < 233; ++k) typeChar(k % 26);
  EXPECT_EQ(entered(vk::Key0 + 6, vk::ModShift), g("…"));
  EXPECT_FALSE(frame.practising());
  EXPECT_EQ(drill(2).offset(), 468);
  EXPECT_EQ(frame.view().wordplace.substr(0, g("练习结束!").size()), g("练习结束!"));
}

TEST_F(KeyTest, F6TogglesLetterModeOnlyWhilePractising) {
  press(vk::F6);
  EXPECT_TRUE(frame.view().letterMode);
  press(vk::F6, vk::ModShift);
  EXPECT_TRUE(frame.view().letterMode) << "a modified F6 is no toggle";
  press(vk::F6);
  EXPECT_FALSE(frame.view().letterMode);
  frame.endRun();
  press(vk::F6);
  EXPECT_FALSE(frame.view().letterMode);
}

TEST_F(KeyTest, EscapeTogglesThePracticeAreaAndPagingWaitsForIt) {
  ASSERT_TRUE(frame.view().practiceAreaShown);
  const int restores = host.panelRestores;
  press(vk::Escape);
  EXPECT_FALSE(frame.view().practiceAreaShown);
  EXPECT_EQ(frame.view().splitterPercent, 100);
  EXPECT_EQ(host.panelRestores, restores + 1);
  press(vk::Right);
  EXPECT_EQ(drill(2).viewPage(), 0) << "paging keys do nothing while the selection pane is shown";
  press(vk::Escape);
  EXPECT_TRUE(frame.view().practiceAreaShown);
  press(vk::Right);
  EXPECT_EQ(drill(2).viewPage(), 1);
}

TEST_F(KeyTest, TheHotSpotSnapsTheSplitter) {
  frame.view().splitterPercent = 70;
  frame.toggleHotSpot();
  EXPECT_EQ(frame.view().splitterPercent, 100);
  frame.view().splitterPercent = 15;
  frame.toggleHotSpot();
  EXPECT_EQ(frame.view().splitterPercent, 0);
  frame.view().splitterPercent = 40;
  frame.toggleHotSpot();
  EXPECT_EQ(frame.view().splitterPercent, 40);
}

TEST_F(KeyTest, RefusalOnAnotherPageDiscardsTheCode) {
  typeLetters("z");
  press(vk::Next);
  const int beeps = host.beeps;
  typeLetters("a");
  EXPECT_EQ(frame.view().wordplace, g("☆没有在练习页上！☆"));
  EXPECT_EQ(frame.view().keyplace, "");
  EXPECT_TRUE(frame.codeBuffer().empty());
  EXPECT_TRUE(frame.candidates()[0].empty());
  EXPECT_EQ(host.beeps, beeps + 1);
  press(vk::Back);
  EXPECT_EQ(host.beeps, beeps + 2) << "deleting is refused too";
  EXPECT_EQ(entries(), "");
}

TEST_F(KeyTest, GuardsIgnoreTypingAndPaging) {
  frame.holdForTest(true, false);
  typeChar(0);
  press(vk::Right);
  frame.holdForTest(false, true);
  press(vk::Back);
  frame.holdForTest(false, false);
  EXPECT_EQ(entries(), "");
  EXPECT_EQ(drill(2).viewPage(), 0);
  EXPECT_TRUE(frame.codeBuffer().empty());
}

TEST_F(KeyTest, LetterModeBackspaceDeletesAndKeepsThePendingCode) {
  typeChar(0);
  typeLetters("b");
  frame.setLetterMode(true);
  press(vk::Back);
  EXPECT_EQ(entries(), "") << "the entry goes, not the code letter";
  EXPECT_EQ(frame.codeBuffer(), "b");
  frame.setLetterMode(false);
  press(vk::Space);
  EXPECT_EQ(entries(), hz(1)) << "the code outlived the switch to letter mode";
}

// A kind that records what the key handler hands it.
class RecordingKind : public PracticeKind {
 public:
  void start() override { items.clear(); }
  void enterItem(char b1, char b2) override { items.push_back(std::string{b1, b2}); }
  void deleteLast() override { ++deletions; }
  bool viewIsPracticePage() const override { return onPracticePage; }
  void codeHint() override { ++hints; }
  std::vector<std::string> items;
  int deletions = 0;
  int hints = 0;
  bool onPracticePage = true;
};

class InputKeyTest : public FrameFixture {
 protected:
  void SetUp() override {
    FrameFixture::SetUp();
    auto owned = std::make_unique<RecordingKind>();
    input = owned.get();
    frame.installKind(pkInput, std::move(owned));
    frame.selectKind(pkInput);
  }
  RecordingKind* input = nullptr;
};

TEST_F(InputKeyTest, EnterIsALineBreakOnlyInInputPractice) {
  press(vk::Return);
  press(vk::Return, vk::ModCtrl);
  EXPECT_EQ(input->items, (std::vector<std::string>{"\r\r", "\r\r"}));
  typeLetters("a");
  press(vk::Return);
  EXPECT_EQ(input->items.size(), 3u) << "a line break even with a code pending";
  EXPECT_EQ(input->items.back(), "\r\r");
  EXPECT_EQ(frame.codeBuffer(), "a");
  press(vk::Space);
  EXPECT_EQ(input->items.back(), hz(0));
  // Elsewhere Enter is the space bar.
  frame.selectMenuTag(0);
  press(vk::Return);
  EXPECT_EQ(entryAt(drill(2), 0), "  ");
}

TEST_F(InputKeyTest, AnotherPageRefusesEnterAndBackspaceAlike) {
  input->onPracticePage = false;
  press(vk::Return);
  press(vk::Back);
  EXPECT_TRUE(input->items.empty());
  EXPECT_EQ(input->deletions, 0);
  EXPECT_EQ(host.beeps, 2);
  input->onPracticePage = true;
  press(vk::Back);
  EXPECT_EQ(input->deletions, 1);
  press(vk::F1);
  frame.hintButton();
  EXPECT_EQ(input->hints, 2);
  EXPECT_TRUE(host.helps.empty());
}

TEST_F(FrameFixture, RootTableGoesWhereTheFrameHasRoom) {
  auto f4 = [this] {
    press(vk::F4);
    return std::pair{host.rootTableOpen, frame.view().imageMapVisible};
  };
  using Shown = std::pair<bool, bool>;  // window, picture
  frame.setFrameWidth(600);
  EXPECT_EQ(f4(), Shown(true, false));
  EXPECT_EQ(f4(), Shown(false, false));
  frame.setFrameWidth(900);
  EXPECT_EQ(f4(), Shown(false, true));
  EXPECT_EQ(f4(), Shown(false, false));
  frame.setFrameWidth(600);
  f4();
  frame.setFrameWidth(900);  // widened while the window is open
  EXPECT_EQ(f4(), Shown(false, true)) << "the window gives way to the picture";
  host.hasRootTableWindow = false;
  frame.setFrameWidth(600);
  EXPECT_EQ(f4(), Shown(false, false));
  EXPECT_EQ(f4(), Shown(false, true)) << "without a window the picture is the table";
}

TEST_F(FrameFixture, FunctionKeysWithoutAPractice) {
  press(vk::F1);
  EXPECT_EQ(host.helps, std::vector<int>{10001});
  press(vk::F2);
  press(vk::F3);
  press(vk::F4);
  EXPECT_EQ(host.tips, std::vector<int>{3});
  EXPECT_EQ(host.lookups, 1);
  EXPECT_TRUE(host.rootTableOpen) << "a frame not laid out yet is narrow";
  frame.hintButton();
  EXPECT_EQ(frame.view().wordplace, g("●没有选择练习！●"));
  EXPECT_EQ(host.beeps, 1);
  // Other keys do nothing at all.
  const std::uint64_t revision = frame.view().revision;
  typeChar(0);
  press(vk::Right);
  EXPECT_EQ(frame.view().revision, revision);
}

TEST_F(FrameFixture, F2ShowsTheTipOfTheKind) {
  host.nextPracticeFile = writeFile("text.txt", "AB");
  host.examDialog = [&](TExamSettings&, int) { return host.nextPracticeFile; };
  const std::map<int, int> kindTip = {{2, 1}, {11, 1}, {12, 2}, {15, 2}, {16, 3}, {17, 3}, {18, 3}};
  for (auto [kind, tip] : kindTip) {
    frame.selectKind(kind);
    host.tips.clear();
    press(vk::F2);
    EXPECT_EQ(host.tips, std::vector<int>{tip}) << kind;
  }
  frame.selectKind(pkRoot);
  press(vk::F2);
  EXPECT_EQ(host.rootTips, 1);
}

TEST_F(FrameFixture, MenuTagsMapToKinds) {
  const std::map<int, int> tagKind = {{0, 2},  {1, 3},  {2, 4},  {3, 5},   {11, 6},
                                      {22, 7}, {33, 8}, {44, 9}, {55, 10}, {66, 11},
                                      {4, 12}, {5, 13}, {6, 14}, {7, 15}};
  for (auto [tag, kind] : tagKind) {
    frame.selectMenuTag(tag);
    EXPECT_EQ(int{frame.practiceKind()}, kind) << tag;
  }
  const int last = frame.practiceKind();
  const std::uint64_t revision = frame.view().revision;
  for (int tag : {10, 12, 77, -1}) {  // no menu item has these tags
    frame.selectMenuTag(tag);
    EXPECT_EQ(int{frame.practiceKind()}, last) << tag;
  }
  EXPECT_EQ(frame.view().revision, revision);
}

TEST_F(FrameFixture, StartingAPracticeSetsUpTheFrame) {
  frame.selectMenuTag(0);
  typeLetters("y");
  ASSERT_EQ(frame.codeBuffer(), "y");
  const int restores = host.panelRestores;
  frame.view().examClockVisible = true;
  frame.view().picture.visible = true;
  frame.view().wordplace = "x";
  frame.view().keyplace = "Y";
  frame.selectMenuTag(66);
  EXPECT_TRUE(frame.practising());
  EXPECT_FALSE(frame.view().examClockVisible);
  EXPECT_FALSE(frame.view().picture.visible);
  EXPECT_EQ(frame.view().wordplace, "");
  EXPECT_EQ(frame.view().keyplace, "");
  EXPECT_TRUE(frame.codeBuffer().empty());
  EXPECT_EQ(frame.view().trainName, g("当前练习：难字特选"));
  EXPECT_EQ(frame.view().pagesInfo, pageInfo(1, 1));
  EXPECT_EQ(frame.view().splitterPercent, 100);
  EXPECT_TRUE(frame.view().practiceAreaShown);
  EXPECT_EQ(host.panelRestores, restores + 1);
  // The test keeps its clock; the root drill shows no page information.
  frame.view().examClockVisible = true;
  frame.view().pagesInfo.clear();
  host.examDialog = [&](TExamSettings&, int) { return writeFile("test.txt", "AB"); };
  frame.selectKind(pkExam);
  EXPECT_TRUE(frame.view().examClockVisible);
  EXPECT_EQ(frame.view().pagesInfo, pageInfo(1, 1));
  frame.view().pagesInfo = "kept";
  frame.selectKind(pkRoot);
  EXPECT_EQ(frame.view().trainName, g("当前练习：字根练习"));
  EXPECT_FALSE(frame.view().examClockVisible);
}

TEST_F(FrameFixture, SetUpFromAnUnreadableLibraryLeavesEveryKindWithoutData) {
  frame.setUp(platform::ResourceLibrary("/nonexistent/deRizizoz.dll"));
  EXPECT_TRUE(frame.view().previewText.empty());
  for (int kind = pkOnechar; kind <= pkWordm; ++kind) {
    EXPECT_FALSE(frame.canStartKind(kind)) << kind;
    frame.selectKind(kind);
    EXPECT_EQ(frame.practiceKind(), pkNone);
  }
  EXPECT_EQ(host.beeps, 14);
}

TEST_F(FrameFixture, KindsRefuseToStartWithoutTheDataTheyShow) {
  struct Case {
    const char* what;
    void (*damage)(PracticeData&);
    std::vector<int> refused, started;
  };
  const Case cases[] = {
      // Without the dictionary no drill item can be typed; texts still can, in letter mode.
      {"dictionary",
       [](PracticeData& d) { d.basePresent = false; },
       {pkTwochar, pkWord2},
       {pkRoot, pkInput}},
      // One root picture missing would leave an invisible root to press.
      {"a root picture",
       [](PracticeData& d) { d.rootPictures[17].reset(); },
       {pkRoot},
       {pkTwochar, pkInput}},
  };
  for (const Case& c : cases) {
    PracticeData data = craftedData();
    c.damage(data);
    frame.setUp(std::move(data));
    for (int kind : c.refused) {
      frame.selectKind(pkInput);
      const int beeps = host.beeps;
      frame.selectKind(kind);
      EXPECT_EQ(frame.practiceKind(), pkInput) << c.what << " " << kind;
      EXPECT_EQ(frame.view().wordplace, g("☆该练习的数据缺失，无法开始！☆")) << c.what;
      EXPECT_EQ(host.beeps, beeps + 1);
    }
    for (int kind : c.started) {
      frame.selectKind(kind);
      EXPECT_EQ(frame.practiceKind(), kind) << c.what << " " << kind;
    }
  }
}

TEST_F(FrameFixture, KeysWithoutACodeEnterNothingInTheRootDrill) {
  frame.selectKind(pkRoot);
  auto& drill = dynamic_cast<RootDrill&>(*frame.kind(pkRoot));
  press(0);  // a key the keyboard mapping does not know (Meta, media keys)
  EXPECT_EQ(drill.position(), 0);
  EXPECT_EQ(frame.view().picture.marks[26], g("↑")) << "the first cell is still the one to press";
}

}  // namespace
}  // namespace quorvel::testing
