// Comparison practice, the tests and input practice, driven through the frame
// on files written for each test; and the file reading and cell conversion
// under them.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>

#include "platform/SystemError.h"
#include "support/FrameFixture.h"
#include "textpractice/InputPractice.h"
#include "textpractice/TextCells.h"
#include "textpractice/TextComparison.h"
#include "textpractice/TextFile.h"

namespace quorvel::testing {
namespace {

using textfile::Encoding;

const std::string kMarker = "\r\r";

// The bytes written, without the zero bytes after them.
std::string written(const std::vector<char>& bytes) {
  std::string s(bytes.begin(), bytes.end());
  s.erase(s.find_last_not_of('\0') + 1);
  return s;
}

// ---- reading files ----

struct ReadCase {
  const char* name;
  std::string raw;
  std::string shown;  // the text as the practice shows it, in UTF-8
  Encoding encoding;
  std::size_t cells;  // two-byte characters and single bytes in the GBK text
};

// Characters of GBK and single bytes: a lent code or a GBK pair is one.
std::size_t characters(std::string_view gbkText) {
  std::size_t n = 0;
  for (std::size_t i = 0; i < gbkText.size(); ++n)
    i += static_cast<unsigned char>(gbkText[i]) >= 0x81 ? 2 : 1;
  return n;
}

class ReadPracticeText : public FrameFixture, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(ReadPracticeText, ConvertsToGbk) {
  const ReadCase& c = GetParam();
  const textfile::LoadedText t = textfile::readPracticeText(writeFile("f.txt", c.raw));
  ASSERT_TRUE(t.ok) << t.error;
  EXPECT_EQ(gbk::toUtf8(t.gbk), c.shown);
  EXPECT_EQ(characters(t.gbk), c.cells);
  EXPECT_EQ(t.encoding, c.encoding);
  EXPECT_FALSE(t.truncated);
}

INSTANTIATE_TEST_SUITE_P(
    Encodings, ReadPracticeText,
    ::testing::Values(ReadCase{"Gbk",
                               "\xC4\xE3\xBA\xC3"
                               "A\r\n",
                               "你好A\r\n", Encoding::Gbk, 5},
                      // Trail bytes 0x40..0x7E look like ASCII but belong to their lead byte.
                      ReadCase{"GbkTraditional", "\xDF\x40\x82\x80\x8C\x57\xD5\x66\xC4\xE3\xBA\xC3",
                               "這個學說你好", Encoding::Gbk, 6},
                      ReadCase{"GbkExtended", "\x81\x40\xE9\x54", "丂門", Encoding::Gbk, 2},
                      // GB18030: a four-byte character outside GBK, one inside the BMP, and a
                      // two-byte one GBK leaves unassigned.
                      ReadCase{"Gb18030",
                               "a\x95\x32\x82\x36\x81\x39\xEE\x39\xA8\xBF"
                               "b",
                               "a𠀀㐀ǹb", Encoding::Gbk, 5},
                      // A few broken bytes in a text are shown as "□".
                      ReadCase{"GbkBrokenPairs",
                               "\xC4 \x80\xB0\x7F"
                               "abcdefghijklmnop",
                               "□ □□\x7F"
                               "abcdefghijklmnop",
                               Encoding::Gbk, 21},
                      // The user-defined area has no characters of its own.
                      ReadCase{"GbkUserDefined", "\xAA\xA1\xF8\xA1", "□□", Encoding::Gbk, 2},
                      ReadCase{"Utf8", "你好A\n", "你好A\n", Encoding::Utf8, 4},
                      ReadCase{"Utf8Traditional", "這個學說", "這個學說", Encoding::Utf8, 4},
                      ReadCase{"Utf8Mark", "\xEF\xBB\xBF你", "你", Encoding::Utf8, 1},
                      // Characters GBK cannot hold are shown as themselves; zero-width marks go.
                      ReadCase{"Utf8OutsideGbk", "a😀한\u200Bb", "a😀한b", Encoding::Utf8, 4},
                      ReadCase{"Utf8PrivateUse", "a\uE000b", "a□b", Encoding::Utf8, 3},
                      ReadCase{"Utf16LE",
                               std::string("\xFF\xFE\x60\x4F\x41\x00\x3D\xD8\x00\xDE\x5C\xD5", 12),
                               "你A😀한", Encoding::Utf16LE, 4},
                      ReadCase{"Utf16LEOddByte", std::string("\xFF\xFE\x41\x00\x42", 5), "A□",
                               Encoding::Utf16LE, 2},
                      ReadCase{"Utf16BE", std::string("\xFE\xFF\x4F\x60\x00\x42", 6), "你B",
                               Encoding::Utf16BE, 2}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(FrameFixture, ReadingStopsAtTheLimitOnACharacterBoundary) {
  // Seven raw bytes of GBK, room for five: the third character does not fit.
  const auto gbkCut = textfile::readPracticeText(writeFile("g.txt", g("你好你") + "x"), 5);
  EXPECT_EQ(gbkCut.gbk, g("你好"));
  EXPECT_TRUE(gbkCut.truncated);
  // Ten UTF-8 characters, read 16 bytes: the one cut off by the read is
  // dropped and the text still counts as UTF-8.
  std::string ten;
  for (int i = 0; i < 10; ++i) ten += "你";
  const auto utf8Cut = textfile::readPracticeText(writeFile("u.txt", ten), 4);
  EXPECT_EQ(utf8Cut.encoding, Encoding::Utf8);
  EXPECT_EQ(utf8Cut.gbk, g("你你"));
  // A GB18030 four-byte character cut by the limit is left for later.
  const auto fourCut = textfile::decodePracticeText("ab\x95\x32\x82", true, 10);
  EXPECT_EQ(fourCut.gbk, "ab");
  // A huge file is not read whole.
  const std::string big = writeFile("big.txt", std::string(200000, 'a'));
  std::filesystem::resize_file(big, std::uintmax_t{1} << 30);
  const auto bigText = textfile::readPracticeText(big);
  EXPECT_TRUE(bigText.ok);
  EXPECT_TRUE(bigText.truncated);
  EXPECT_EQ(bigText.gbk.size(), textfile::kMaxGbkBytes);
}

// Whatever cannot be practised is refused with its reason, and no read waits:
// a named pipe without a writer would block an open for ever, so the test
// dies by its alarm rather than hang.
TEST_F(FrameFixture, WhatIsNoTextFileIsRefusedWithItsReason) {
  const std::string fifo = writeFile("fifo-place", "") + ".fifo";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const std::string sparse = writeFile("sparse.txt", "");
  std::filesystem::resize_file(sparse, std::uintmax_t{1} << 30);
  std::string controls;
  for (int i = 0; i < 40; ++i)
    controls +=
        "\x01\x02\x1B"
        "a";
  struct Case {
    std::string path, reason;
  };
  const std::vector<Case> cases = {
      {writeFile("x", "") + ".gone", platform::systemErrorText(ENOENT)},
      {tempDir_.string(), platform::systemErrorText(EISDIR)},
      {fifo, "命名管道"},
      {"/dev/zero", "设备"},
      {sparse, "空字节"},
      {writeFile("nul.txt", std::string("ab\0cd", 5)), "空字节"},
      {writeFile("nul16.txt", std::string("\xFF\xFE\x41\x00\x00\x00", 6)), "空字节"},
      {writeFile("controls.txt", controls), "控制字符"},
      {writeFile("binary.txt", std::string(64, '\x80')), "无法识别"},
  };
  ::alarm(20);
  for (const Case& c : cases) {
    const auto t = textfile::readPracticeText(c.path);
    EXPECT_FALSE(t.ok) << c.path;
    EXPECT_NE(t.error.find(c.reason), std::string::npos) << c.path << ": " << t.error;
  }
  ::alarm(0);
}

TEST_F(FrameFixture, TraditionalTextsAreToldAndSimplifiedWhenAsked) {
  const std::string traditional = writeFile("t.txt", "這個學說開門，長風馬魚。");
  const auto asWritten = textfile::readPracticeText(traditional);
  EXPECT_TRUE(asWritten.traditional);
  EXPECT_EQ(gbk::toUtf8(asWritten.gbk), "這個學說開門，長風馬魚。");
  const auto simple = textfile::readPracticeText(traditional, textfile::kMaxGbkBytes, true);
  EXPECT_EQ(gbk::toUtf8(simple.gbk), "这个学说开门，长风马鱼。");
  EXPECT_FALSE(
      textfile::readPracticeText(writeFile("s.txt", "这个学说开门，长风马鱼。")).traditional);
}

// ---- cells ----

TEST(ConvertToCells, EveryByteClass) {
  struct Case {
    std::string raw, model, entry;
  };
  const std::vector<Case> cases = {
      {"a b", " a   b", ""},
      {"a  b", " a   b", ""},
      {"a   b", " a     b", ""},
      {"A\r\nB", " A\r\r B", std::string("\0\0\r\r", 4)},
      {"A\nB", " A\r\r B", std::string("\0\0\r\r", 4)},
      {"\r\n\r\nA", "\r\r\r\r A", "\r\r\r\r"},
      // CR line ends lose nothing of the next line, a character least of all.
      {"A\rB\r\xC4\xE3", " A\r\r B\r\r\xC4\xE3", std::string("\0\0\r\r\0\0\r\r", 8)},
      {"A\r\rB", " A\r\r\r\r B", std::string("\0\0\r\r\r\r", 6)},
      {"\t~", " \t ~", ""},
      {"\xC4\xE3"
       "1",
       "\xC4\xE3 1", ""},
      // A pair is one cell whatever its trail byte; a stray byte above 127 a "□".
      {"\xDF\x40\x82\x80\x8C\x57", "\xDF\x40\x82\x80\x8C\x57", ""},
      {"\x81\x40"
       "a",
       "\x81\x40 a", ""},
      {"\x80"
       "a\xC4",
       "\xA1\xF5 a\xA1\xF5", ""},
  };
  for (const Case& c : cases) {
    const PracticeCells cells = convertToCells(c.raw);
    EXPECT_EQ(written(cells.model), c.model) << c.raw;
    EXPECT_EQ(written(cells.entry), c.entry) << c.raw;
    EXPECT_EQ(cells.model.size(), cells.entry.size());
  }
}

TEST(ConvertToCells, HoldsAtMost37625Cells) {
  for (std::size_t n : {std::size_t{37625}, std::size_t{37626}, std::size_t{80000}}) {
    const PracticeCells cells = convertToCells(std::string(n, 'a'));
    EXPECT_EQ(cells.model.size(), 75253u) << n;
    EXPECT_EQ(cells.model[75249], 'a') << n;
    EXPECT_EQ(std::string(cells.model.end() - 3, cells.model.end()), std::string(3, '\0'));
  }
}

TEST(CutUserName, NeverSplitsACharacter) {
  const std::string c = "\xC4\xE3";  // one double-byte character
  std::string eight, nine;
  for (int i = 0; i < 8; ++i) eight += c;
  nine = eight + c;
  EXPECT_EQ(cutUserName(eight), eight);
  EXPECT_EQ(cutUserName(nine), eight);
  EXPECT_EQ(cutUserName("a" + eight), "a" + eight.substr(0, 14));
  EXPECT_EQ(cutUserName(std::string(20, 'x')), std::string(16, 'x'));
}

// ---- comparison practice ----

class CompareTest : public FrameFixture {
 protected:
  void startCompare(const std::string& text) {
    host.nextPracticeFile = writeFile("compare.txt", text);
    frame.selectKind(pkCompare);
  }
  ComparePractice& compare() { return *frame.kindAs<ComparePractice>(pkCompare); }
  void enter(const std::string& item) { frame.enterItem(item[0], item[1]); }
};

TEST_F(CompareTest, LineBreakEndsTheGridLineAndTheCursorJumpsOverIt) {
  startCompare("AB\r\nCD");
  ASSERT_TRUE(frame.practising());
  EXPECT_EQ(frame.view().previewText, "AB\r\nCD");
  EXPECT_EQ(textCell(0).text, " A");
  EXPECT_EQ(textCell(1).text, " B");
  for (int k = 2; k < 25; ++k) EXPECT_EQ(textCell(k).text, kMarker) << k;
  EXPECT_EQ(textCell(25).text, " C");
  EXPECT_EQ(textCell(26).text, " D");
  EXPECT_TRUE(textCell(27).text.empty());
  EXPECT_EQ(textCell(0).colour, colour::Current);
  EXPECT_EQ(entryCell(0).text, g("↑"));

  enter(" A");
  enter(" X");
  EXPECT_EQ(entryCell(0).colour, colour::Right);
  EXPECT_EQ(entryCell(1).colour, colour::Wrong);
  EXPECT_EQ(compare().state().positionInPage, 25);
  EXPECT_EQ(compare().state().textOffset, 6);
  EXPECT_EQ(textCell(25).colour, colour::Current);

  press(vk::Back);  // back over the line break onto B
  EXPECT_EQ(compare().state().positionInPage, 1);
  EXPECT_EQ(compare().state().textOffset, 2);
  EXPECT_EQ(entryCell(1).text, g("↑"));
  EXPECT_EQ(compare().entryCell(2), std::string(2, '\0'));
}

TEST_F(CompareTest, LineBreakBetweenEntriesCountsAsARightEntry) {
  startCompare("A\r\nB");
  EXPECT_EQ(frame.view().speed, "0");
  EXPECT_EQ(frame.view().accuracy, 0);
  enter(" A");
  clock.advance(std::chrono::seconds(60));
  frame.timerTick();
  EXPECT_EQ(frame.view().speed, "2");
  EXPECT_EQ(frame.view().accuracy, 100);
  enter(" B");
  EXPECT_FALSE(frame.practising());
  EXPECT_EQ(frame.view().wordplace, g("练习结束! 打字速率：3 字/分钟正确率：100%"));
}

// A cell no key of the method enters is entered by the Space bar, so no text
// holds the learner up, and it is no item of the history; a character with a
// code, or a mark a punctuation key gives, is not.
TEST_F(CompareTest, SpaceEntersWhatNoKeyEnters) {
  struct Case {
    std::string middle;  // UTF-8, between A and B
    bool spaceIsRight;
  };
  const std::vector<Case> cases = {
      {"\u3000", true},             // the ideographic space of the shipped texts' titles
      {"這", true},                 // a traditional character: no code in the method
      {"😀", true},                  // outside GBK, lent a code
      {"「", true},                 // a mark no key gives
      {"，", false},                // the comma key gives it
      {gbk::toUtf8(hz(0)), false},  // a character with a code
  };
  for (const Case& c : cases) {
    startCompare("A" + c.middle + "B");
    ASSERT_TRUE(frame.practising()) << c.middle;
    EXPECT_EQ(gbk::toUtf8(textCell(1).text), c.middle);
    enter(" A");
    press(vk::Space);
    enter(" B");
    EXPECT_FALSE(frame.practising());
    EXPECT_EQ(entryCell(1).colour, c.spaceIsRight ? colour::Right : colour::Wrong) << c.middle;
    history::RunRecord run;
    ASSERT_TRUE(compare().describeRun(run));
    std::string items;
    for (const history::RunEntry& e : run.entries) items += e.expected;
    EXPECT_EQ(gbk::toUtf8(items), c.spaceIsRight ? " A B" : " A" + c.middle + " B") << c.middle;
  }
}

TEST_F(CompareTest, FullLineAndBlankLinesAddNoEmptyGridLine) {
  startCompare(std::string(25, 'x') + "\r\n\n\r\n" + "y\n\tz");
  EXPECT_EQ(textCell(24).text, " x");
  EXPECT_EQ(textCell(25).text, " y");
  EXPECT_EQ(textCell(26).text, kMarker);
  EXPECT_EQ(textCell(50).text, g("→"));
  EXPECT_EQ(textCell(51).text, " z");
}

TEST_F(CompareTest, PagesTurnBackAndForth) {
  startCompare(std::string(125, 'a') + "b");
  for (int k = 0; k < 125; ++k) enter(k == 3 ? " q" : " a");
  EXPECT_EQ(compare().state().practicePage, 1);
  EXPECT_EQ(frame.view().pagesInfo, pageInfo(2, 2));
  EXPECT_EQ(textCell(0).text, " b");
  EXPECT_TRUE(textCell(1).text.empty());

  press(vk::Back);  // from the first cell of page 2 back onto page 1
  EXPECT_EQ(compare().state().practicePage, 0);
  EXPECT_EQ(compare().state().positionInPage, 124);
  EXPECT_EQ(frame.view().pagesInfo, pageInfo(1, 1));
  EXPECT_EQ(entryCell(3).colour, colour::Wrong);
  EXPECT_EQ(entryCell(123).colour, colour::Right);
  EXPECT_EQ(entryCell(124).text, g("↑"));

  frame.setLetterMode(true);
  press(vk::Right);  // page 2 is known: its text shows with no entries
  EXPECT_EQ(frame.view().pagesInfo, pageInfo(2, 1));
  EXPECT_EQ(textCell(0).text, " b");
  EXPECT_TRUE(entryCell(0).text.empty());
  press(vk::Right);  // and nothing beyond it
  EXPECT_EQ(compare().state().viewPage, 1);
  press(vk::Left);
  EXPECT_EQ(entryCell(124).text, g("↑"));
  EXPECT_EQ(textCell(124).colour, colour::Current);
}

TEST_F(CompareTest, BackspaceOnTheFirstCellChangesNothing) {
  startCompare("\r\nAB");
  press(vk::Back);
  EXPECT_EQ(compare().state().positionInPage, 0);
  EXPECT_EQ(compare().state().textOffset, 0);
  EXPECT_EQ(entryCell(0).text, g("↑"));
  enter(" A");
  press(vk::Back);
  press(vk::Back);
  enter(" A");
  EXPECT_EQ(frame.view().accuracy, 100) << "the leading line break survives the deletions";
}

TEST_F(CompareTest, LastCellOfAPageShowsTheEmptyNextPageAndEnds) {
  startCompare(std::string(125, 'a'));
  for (int k = 0; k < 125; ++k) enter(" a");
  EXPECT_FALSE(frame.practising());
  EXPECT_EQ(frame.view().pagesInfo, pageInfo(2, 2));
  EXPECT_TRUE(textCell(0).text.empty());
  EXPECT_TRUE(entryCell(0).text.empty());
}

TEST_F(CompareTest, NoPageBeyond300) {
  std::string lines;
  for (int i = 0; i < 2000; ++i) lines += "a\n";  // one grid line each: 400 pages
  startCompare(lines);
  frame.setLetterMode(true);
  for (int i = 0; i < 400; ++i) press(vk::Right);
  EXPECT_EQ(compare().state().viewPage, 300);
  EXPECT_EQ(frame.view().pagesInfo, pageInfo(301, 1));
  for (int i = 0; i < 400; ++i) press(vk::Left);
  for (int i = 0; i < 301 * 5 - 1; ++i) enter(" a");
  EXPECT_TRUE(frame.practising());
  EXPECT_EQ(compare().state().practicePage, 300);
  enter(" a");
  EXPECT_FALSE(frame.practising()) << "the run ends with page 300";
  EXPECT_EQ(entryCell(100).colour, colour::Right) << "its last entry stays on show";
}

TEST_F(CompareTest, UnreadableOrCancelledFileLeavesTheRunningPracticeAlone) {
  frame.selectMenuTag(0);
  const std::string gone = writeFile("gone.txt", "AB");
  std::filesystem::remove(gone);
  for (const std::string& path : {gone, tempDir_.string(), writeFile("empty.txt", "\r\n")}) {
    host.nextPracticeFile = path;
    frame.selectKind(pkCompare);
    EXPECT_EQ(frame.practiceKind(), pkOnechar) << path;
    EXPECT_TRUE(frame.practising());
  }
  ASSERT_EQ(host.errors.size(), 3u);
  EXPECT_NE(host.errors[0].find(gone), std::string::npos);
  EXPECT_NE(host.errors[0].find(std::strerror(ENOENT)), std::string::npos);
  EXPECT_NE(host.errors[1].find(std::strerror(EISDIR)), std::string::npos);
  host.nextPracticeFile.clear();
  frame.selectKind(pkCompare);
  EXPECT_EQ(host.fileChoices, 4);
  EXPECT_EQ(host.errors.size(), 3u) << "a cancelled choice is no error";
  EXPECT_EQ(frame.practiceKind(), pkOnechar);
}

// ---- tests by time and by quantity ----

class ExamTest : public CompareTest {
 protected:
  void startExam(int tag, int minutes, const std::string& name = "user") {
    const std::string path = writeFile("exam.txt", "ABCDEFGH");
    host.examDialog = [=](TExamSettings& s, int) {
      s.userName = name;
      s.minutes = minutes;
      return path;
    };
    frame.selectMenuTag(tag);
  }
  ExamPractice& exam() { return *frame.kindAs<ExamPractice>(pkExam); }
};

TEST_F(ExamTest, TestByTimeEndsWhenItsMinutesHavePassed) {
  startExam(8, 1);
  EXPECT_EQ(frame.view().trainName, g("当前练习：定时测验"));
  EXPECT_TRUE(frame.view().examClockVisible);
  EXPECT_EQ(frame.view().examClock, "0:00:00");
  enter(" A");
  for (int i = 0; i < 59; ++i) frame.timerTick();
  EXPECT_TRUE(frame.practising());
  EXPECT_EQ(frame.view().examClock, "0:0:59");
  frame.timerTick();
  EXPECT_FALSE(frame.practising());
  EXPECT_EQ(frame.view().examClock, "0:1:0");
  EXPECT_EQ(frame.view().wordplace, g("练习结束!user 打字速率：60 字/分钟正确率：100%"));
}

TEST_F(ExamTest, TestByQuantityRunsOnUntilTheTextIsDone) {
  startExam(9, 1);
  EXPECT_EQ(frame.view().trainName, g("当前练习：定量测验"));
  for (int i = 0; i < 200; ++i) frame.timerTick();
  EXPECT_TRUE(frame.practising());
  EXPECT_EQ(frame.view().examClock, "0:3:20");
  for (char c : std::string("ABCDEFGH")) frame.enterItem(' ', c);
  EXPECT_FALSE(frame.practising());
}

TEST_F(ExamTest, CancelledDialogKeepsTheRunningTestAsItWas) {
  startExam(8, 1);
  host.examDialog = [](TExamSettings& s, int) {
    s.minutes = 99;
    return std::string();
  };
  frame.selectMenuTag(9);
  EXPECT_EQ(host.examDialogs, 2);
  EXPECT_EQ(exam().settings().mode, 0);
  EXPECT_EQ(exam().settings().minutes, 1);
  for (int i = 0; i < 60; ++i) frame.timerTick();
  EXPECT_FALSE(frame.practising()) << "the time limit still holds";
}

TEST_F(ExamTest, EndMessageNamesTheUserWhole) {
  std::string name;
  for (int i = 0; i < 9; ++i) name += hz(i);
  startExam(9, 0, name);
  EXPECT_EQ(exam().settings().userName, name.substr(0, 16));
  for (char c : std::string("ABCDEFGH")) frame.enterItem(' ', c);
  EXPECT_EQ(frame.view().wordplace.substr(0, 36),
            g("练习结束!") + name.substr(0, 16) + " " + g("打字速率："));
}

TEST(ExamClock, FitsSevenCells) {
  const std::vector<std::pair<int, std::string>> cases = {{5, "0:0:5"},
                                                          {35999, "9:59:59"},
                                                          {36000, "10:00"},
                                                          {360000 + 59 * 60, "100:59"},
                                                          {9999 * 3600 + 3600, "9999:59"}};
  for (const auto& [seconds, text] : cases) {
    EXPECT_EQ(ExamPractice::clockText(seconds), text) << seconds;
    EXPECT_LE(ExamPractice::clockText(seconds).size(), 7u);
  }
}

TEST_F(ExamTest, FileThatCannotBeReadStartsNoTest) {
  const std::string gone = writeFile("gone.txt", "");
  std::filesystem::remove(gone);
  host.examDialog = [=](TExamSettings&, int) { return gone; };
  frame.selectMenuTag(0);
  frame.selectMenuTag(8);
  EXPECT_EQ(frame.practiceKind(), pkOnechar);
  ASSERT_EQ(host.errors.size(), 1u);
  EXPECT_NE(host.errors[0].find(gone), std::string::npos);
}

TEST_F(ExamTest, F1InEachTextKind) {
  PracticeData data = craftedData();
  data.tables[5].records.replace(0, 6, hz(0) + "abcd");  // hz(0) gets a full code
  frame.setUp(std::move(data));
  startCompare(hz(0) + "A");
  press(vk::F1);
  ASSERT_EQ(host.charHints.size(), 1u);
  EXPECT_EQ(host.charHints[0].AllCode, "abcd");
  enter(hz(0));
  press(vk::F1);
  EXPECT_EQ(host.charHints.size(), 1u) << "no full code, no hint";

  startExam(9, 0);
  const int beeps = host.beeps;
  press(vk::F1);
  EXPECT_EQ(frame.view().wordplace, g("测验中。。。。。。"));
  EXPECT_EQ(host.beeps, beeps + 1);

  frame.selectKind(pkInput);
  press(vk::F1);
  EXPECT_EQ(host.lookups, 1);
  EXPECT_EQ(host.charHints.size(), 1u);
}

// ---- input practice ----

class InputTest : public FrameFixture {
 protected:
  void SetUp() override {
    FrameFixture::SetUp();
    frame.selectKind(pkInput);
    frame.setLetterMode(true);
  }
  const InputPractice& input() { return *frame.kindAs<InputPractice>(pkInput); }
  const CellLabel& at(int k) const {
    return frame.view().cells[static_cast<std::size_t>(cellIndex(k % 25, k / 25))];
  }
};

TEST_F(InputTest, EnterEndsTheRowAndBackspaceReturnsToIt) {
  press(key('a'));
  press(vk::Return);
  for (int k = 1; k < 25; ++k) EXPECT_EQ(at(k).text, kMarker) << k;
  EXPECT_EQ(input().state().positionInPage, 25);
  EXPECT_EQ(at(25).colour, colour::Current);
  press(vk::Return);  // in column 0: the whole row
  EXPECT_EQ(at(25).text, kMarker);
  EXPECT_EQ(at(49).text, kMarker);
  EXPECT_EQ(input().state().positionInPage, 50);

  press(vk::Back);
  EXPECT_EQ(input().state().positionInPage, 25);
  EXPECT_EQ(input().state().textOffset, 4);
  press(vk::Back);
  EXPECT_EQ(input().state().positionInPage, 1);
  EXPECT_TRUE(at(2).text.empty()) << "the row is open again";
  press(vk::Back);
  EXPECT_EQ(input().state().textOffset, 0);
  EXPECT_EQ(input().state().inputText[0], '\0');
  EXPECT_EQ(frame.view().speed, "0");
}

TEST_F(InputTest, PagesAndTheirLimits) {
  for (int i = 0; i < 9; ++i) press(vk::Return);
  press(key('a'));
  press(vk::Return);  // Enter in row 9 completes the page
  EXPECT_EQ(input().state().practicePage, 1);
  EXPECT_EQ(input().state().pageStarts[1], 22);
  EXPECT_EQ(frame.view().pagesInfo, pageInfo(2, 2));
  press(vk::Right);
  EXPECT_EQ(input().state().viewPage, 1) << "nothing beyond the practice page";
  press(vk::Left);
  press(vk::Left);
  EXPECT_EQ(input().state().viewPage, 0);
  EXPECT_EQ(at(225).text, " a");
  press(vk::Right);
  press(vk::Back);  // the first label of page 2: back to where the last Enter was typed
  EXPECT_EQ(input().state().practicePage, 0);
  EXPECT_EQ(input().state().pageStarts[1], 0);
  EXPECT_EQ(input().state().positionInPage, 226);
  EXPECT_EQ(frame.view().accuracy, 0);
}

TEST_F(InputTest, EndsAfter25000EntriesOrWithPage100) {
  for (int i = 0; i < 24999; ++i) press(key('a'));
  EXPECT_TRUE(frame.practising());
  press(key('a'));
  EXPECT_FALSE(frame.practising());
  EXPECT_EQ(frame.view().wordplace.substr(frame.view().wordplace.size() - 4), g("：0%"));

  frame.selectKind(pkInput);
  for (int i = 0; i < 101 * 10 - 1; ++i) press(vk::Return);
  EXPECT_TRUE(frame.practising());
  EXPECT_EQ(input().state().practicePage, 100);
  press(vk::Return);
  EXPECT_FALSE(frame.practising());
}

}  // namespace
}  // namespace quorvel::testing
