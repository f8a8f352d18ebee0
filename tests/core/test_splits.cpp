// The splits of the characters: reading the "splits" entry, the line the
// hints show, and the practice data with and without the entry.
#include <gtest/gtest.h>

#include "data/PracticeData.h"
#include "lookup/LookupServices.h"
#include "platform/Gbk.h"
#include "support/FixtureLibrary.h"

namespace quorvel {
namespace {

std::string g(const char* utf8) { return gbk::fromUtf8(utf8); }

const std::string kShe = g("社\t礻Z 土T\tS\t-\r\n");
const std::string kChang = g("长\t长C\tC\t丿P 丶D\r\n");

TEST(CharSplits, ReadsRootsKeysSoundAndStrokes) {
  std::string fault;
  const CharSplits splits = parseCharSplits(kShe + kChang, &fault);
  EXPECT_EQ(fault, "");
  ASSERT_EQ(splits.size(), 2u);
  ASSERT_TRUE(splits.find(g("社")).has_value());
  const CharSplit she = *splits.find(g("社"));
  ASSERT_EQ(she.roots.size(), 2u);
  EXPECT_EQ(she.roots[0].text, g("礻"));
  EXPECT_EQ(she.roots[0].key, 'Z');
  EXPECT_EQ(she.roots[1].text, g("土"));
  EXPECT_EQ(she.sound, 'S');
  EXPECT_TRUE(she.strokes.empty());
  ASSERT_TRUE(splits.find(g("长")).has_value());
  const CharSplit chang = *splits.find(g("长"));
  EXPECT_FALSE(splits.find(g("会")).has_value());
  ASSERT_EQ(chang.strokes.size(), 2u);
  EXPECT_EQ(chang.strokes[1].text, g("丶"));
  EXPECT_EQ(chang.strokes[1].key, 'D');
}

TEST(CharSplits, ADamagedLineLeavesNoSplitsAndNamesItsLine) {
  const std::pair<std::string, const char*> damaged[] = {
      {g("会\t人I 二D 厶Y\tH\r\n"), "between tabs"},
      {g("会\t人I 二D 厶y\tH\t-\r\n"), "followed by its key"},
      {g("会\t人I  二D\tH\t-\r\n"), "followed by its key"},
      {g("会\t人 二D\tH\t-\r\n"), "followed by its key"},
      {g("会\tabcI\tH\t-\r\n"), "followed by its key"},
      {g("会\t人I 二D\th\t-\r\n"), "sound"},
      {g("会会\t人I 二D\tH\t-\r\n"), "one GBK character"},
      {g("长\t长C\tC\t-\r\n"), "first and last stroke"},
      {g("会\t人I 二D\tH\t丿P 丶D\r\n"), "only for a one-root"},
      {kShe, "second time"},
      {g("会\t人I 二D\tH\t-\n"), "LF"},
      {g("会\t人I 二D\tH\t-"), "no line end"},
  };
  for (const auto& [line, reason] : damaged) {
    std::string fault;
    const CharSplits splits = parseCharSplits(kShe + line, &fault);
    EXPECT_TRUE(splits.empty()) << reason;
    EXPECT_EQ(fault.rfind("line 2: ", 0), 0u) << fault;
    EXPECT_NE(fault.find(reason), std::string::npos) << fault;
  }
}

TEST(SplitText, ShowsTheRootsTheCodeTakesWithTheirKeys) {
  const std::pair<std::string, const char*> cases[] = {
      {kShe, "拆分：礻 土 → Z T，音 S"},
      {g("会\t人I 二D 厶Y\tH\t-\r\n"), "拆分：人 二 厶 → I D Y，音 H"},
      // The roots between the second and the last are skipped by the code.
      {g("癌\t疒B 口K 口K 口K 山S\tA\t-\r\n"), "拆分：疒 口（口口）山 → B K S，音 A"},
      {g("矮\t（撇横头）A 大D 禾H 女N\tA\t-\r\n"), "拆分：（撇横头） 大（禾）女 → A D N，音 A"},
      {kChang, "拆分：长，首笔 丿 末笔 丶 → C P D，音 C"},
  };
  for (const auto& [line, shown] : cases) {
    std::string fault;
    const CharSplits splits = parseCharSplits(line, &fault);
    ASSERT_EQ(splits.size(), 1u) << fault;
    ASSERT_TRUE(splits.find(line.substr(0, 2)).has_value());
    EXPECT_EQ(gbk::toUtf8(SplitText(*splits.find(line.substr(0, 2)))), shown);
  }
}

TEST(CharSplits, TravelInThePracticeDataAndReachTheCharactersCodes) {
  testsupport::TempDir dir;
  auto load = [&](const std::vector<testsupport::FixtureEntry>& entries) {
    EXPECT_TRUE(testsupport::writeLibrary(dir / "lib.dll", entries));
    return loadPracticeData(platform::ResourceLibrary(dir / "lib.dll"));
  };
  const PracticeData with = load({{"chardata/splits", kShe + kChang}});
  EXPECT_TRUE(with.problems.empty());
  EXPECT_EQ(gbk::toUtf8(LookupCharCodes(with, g("社")).Split), "拆分：礻 土 → Z T，音 S");
  EXPECT_EQ(LookupCharCodes(with, g("会")).Split, "");

  // A damaged entry is left out and its fault kept; a missing one is no fault.
  const PracticeData damaged = load({{"chardata/splits", kShe + g("会\t人I\n")}});
  EXPECT_TRUE(damaged.splits.empty());
  ASSERT_EQ(damaged.problems.size(), 1u);
  EXPECT_EQ(damaged.problems[0].rfind("chardata/splits: line 2", 0), 0u) << damaged.problems[0];
  const PracticeData without = load({{"TIPDATA/intro", g("简介\r\n")}});
  EXPECT_TRUE(without.splits.empty());
  EXPECT_TRUE(without.problems.empty());
  EXPECT_EQ(LookupCharCodes(without, g("社")).Split, "");
}

}  // namespace
}  // namespace quorvel
