#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

#include "data/PracticeData.h"
#include "support/FixtureLibrary.h"

using namespace quorvel;
using testsupport::FixtureEntry;
using testsupport::TempDir;

namespace {

const std::string kA = "\xB0\xA1";  // 啊
const std::string kB = "\xB0\xA2";  // 阿

// The i-th of a run of distinct GB2312 hanzi.
std::string hanzi(int i) {
  std::string s;
  s.push_back(static_cast<char>(0xB0 + (i / 94) % 72));
  s.push_back(static_cast<char>(0xA1 + i % 94));
  return s;
}

std::string letters(int i, int n) {
  std::string s;
  for (int k = 0; k < n; ++k) s.push_back(static_cast<char>('a' + (i + 7 * k) % 26));
  return s;
}

// A drill table as its resource holds it: one record per CR LF line, in the
// form of the kind (codes of rule-B tables alternate between 3 and 4 letters).
std::string tableText(int kind, int records) {
  std::string out;
  for (int i = 0; i < records; ++i) {
    std::string line;
    switch (kind) {
      case 2:
        line = hanzi(i) + letters(i, 1);
        break;
      case 3:
      case 6:
        line = hanzi(i) + letters(i, 2);
        break;
      case 4:
      case 7:
        line = hanzi(i) + letters(i, 3);
        break;
      case 5:
      case 8:
      case 9:
      case 10:
      case 11:
        line = hanzi(i) + letters(i, 3 + i % 2);
        break;
      case 12:
        line = hanzi(i) + hanzi(i + 1) + letters(i, 4);
        break;
      case 13:
        line = hanzi(i) + hanzi(i + 1) + hanzi(i + 2) + letters(i, 4);
        break;
      case 14:
        line = hanzi(i) + hanzi(i + 1) + hanzi(i + 2) + hanzi(i + 3) + letters(i, 4);
        break;
      case 15:
        line = hanzi(i) + hanzi(i + 1) + hanzi(i + 2) + hanzi(i + 3) + hanzi(i + 4) + letters(i, 4);
        break;
      default:
        break;
    }
    out += line + "\r\n";
  }
  return out;
}

// A lookup dictionary with two lines for every letter, CR line ends.
std::string baseText(const char* lineEnd = "\r") {
  std::string out;
  for (char c = 'a'; c <= 'z'; ++c) {
    out += std::string(1, c) + " " + hanzi(c) + lineEnd;
    out += std::string(1, c) + "b  " + hanzi(c + 100) + hanzi(c + 200) + lineEnd;
  }
  return out;
}

std::vector<FixtureEntry> completeLibrary() {
  std::vector<FixtureEntry> entries;
  entries.push_back({"chardata/base", baseText()});
  for (int i = 1; i <= kRootCount; ++i) {
    entries.push_back({"RCDATA/root" + std::to_string(i),
                       testsupport::bmp24Solid(16, 16, 0x010203u * static_cast<std::uint32_t>(i))});
  }
  for (int kind = 2; kind <= 15; ++kind) {
    entries.push_back({std::string("chardata/") + kindInfo(kind).resource,
                       tableText(kind, requiredRecords(kind))});
  }
  entries.push_back({"TIPDATA/intro", "\xBB\xB6\xD3\xAD\r\nline two\r\n"});
  return entries;
}

void replaceEntry(std::vector<FixtureEntry>& entries, const std::string& name, std::string bytes) {
  for (auto& e : entries)
    if (e.name == name) e.bytes = std::move(bytes);
}

void removeEntry(std::vector<FixtureEntry>& entries, const std::string& name) {
  entries.erase(std::remove_if(entries.begin(), entries.end(),
                               [&](const FixtureEntry& e) { return e.name == name; }),
                entries.end());
}

}  // namespace

TEST(RootKeys, EachRootIndexLiesOnItsKey) {
  EXPECT_EQ(std::accumulate(kRootKeyCounts.begin(), kRootKeyCounts.end(), 0), kRootCount);
  EXPECT_EQ(rootKey(0), 'A');
  EXPECT_EQ(rootKey(3), 'A');
  EXPECT_EQ(rootKey(4), 'B');   // root5
  EXPECT_EQ(rootKey(12), 'B');  // root13
  EXPECT_EQ(rootKey(13), 'C');
  EXPECT_EQ(rootKey(77), 'J');
  EXPECT_EQ(rootKey(78), 'K');  // K and M hold one root each
  EXPECT_EQ(rootKey(79), 'L');
  EXPECT_EQ(rootKey(88), 'M');
  EXPECT_EQ(rootKey(89), 'N');
  EXPECT_EQ(rootKey(165), 'Y');
  EXPECT_EQ(rootKey(166), 'Z');
  EXPECT_EQ(rootKey(175), 'Z');
  EXPECT_EQ(rootKey(-1), 0);
  EXPECT_EQ(rootKey(176), 0);
}

TEST(ChardataRules, OneCharacterWithThreeLetterCode) {
  const std::string line = kA + "zts\r\n";
  EXPECT_EQ(normaliseRuleA(line), kA + "zts");
  EXPECT_EQ(normaliseRuleB(line), kA + "zts ");
  // A four-letter code fills the record under B: no space.
  EXPECT_EQ(normaliseRuleB(kA + "ztsa\r\n"), kA + "ztsa");
  // Upper-case codes are held in lower case, under both rules.
  EXPECT_EQ(normaliseRuleA(kA + "ZTS\r\n"), kA + "zts");
  EXPECT_EQ(normaliseRuleB(kA + "ZtS\r\n" + kB + "ABCD\r\n"), kA + "zts " + kB + "abcd");
}

TEST(ChardataRules, LinesJoinWithoutSeparatorsAndRecordsKeepTheirWidth) {
  const std::string raw = kA + "zts\r\n" + kB + "abcd\r\n" + kA + "qwe\r\n";
  const std::string b = normaliseRuleB(raw);
  ASSERT_EQ(b.size(), 18u);
  EXPECT_EQ(b.substr(0, 6), kA + "zts ");
  EXPECT_EQ(b.substr(6, 6), kB + "abcd");
  EXPECT_EQ(b.substr(12, 6), kA + "qwe ");
  EXPECT_EQ(normaliseRuleA(raw), kA + "zts" + kB + "abcd" + kA + "qwe");
}

TEST(ChardataRules, CarriageReturnsNearTheEdgesOfTheData) {
  // At the very start there is no fourth byte before the CR: rule B writes a space.
  EXPECT_EQ(normaliseRuleA("\r\nab"), "ab");
  EXPECT_EQ(normaliseRuleB("\r\nab"), " ab");
  EXPECT_EQ(normaliseRuleB("ab\r\ncd"), "ab cd");
  EXPECT_EQ(normaliseRuleB("abc\r\n"), "abc ");
  EXPECT_EQ(normaliseRuleB("abcd\r\n"), "abcd");  // index 0 is the fourth byte before
  // A CR as the last byte has no byte after it to drop.
  EXPECT_EQ(normaliseRuleA(kA + "zts\r"), kA + "zts");
  EXPECT_EQ(normaliseRuleB(kA + "zts\r"), kA + "zts ");
  EXPECT_EQ(normaliseRuleA("\r"), "");
  EXPECT_EQ(normaliseRuleB("\r"), " ");
  // Whatever follows a CR is dropped, also a line end of CR alone.
  EXPECT_EQ(normaliseRuleA("ab\rcd\r"), "abd");
  EXPECT_EQ(normaliseRuleA(""), "");
  EXPECT_EQ(normaliseRuleB(""), "");
}

TEST(ChardataRules, FoldingTouchesEveryByteAToZ) {
  // That is why chardata characters must be GB2312 (both bytes 0xA1 or above):
  // a GBK trail byte in 'A'..'Z' would be changed too.
  EXPECT_EQ(normaliseRuleA("\x81\x41"), "\x81\x61");
  EXPECT_EQ(normaliseRuleA(kA + "@[`{"), kA + "@[`{");
}

TEST(Wordm, SplitsTextAndCodeEntries) {
  const std::string data = kA + kB + "abcd" + kB + kA + kB + "wxyz" + "qrst";
  const auto entries = splitWordm(data, 296);
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].text, kA + kB);
  EXPECT_EQ(entries[0].code, "abcd");
  EXPECT_EQ(entries[1].text, kB + kA + kB);
  EXPECT_EQ(entries[1].code, "wxyz");
  EXPECT_EQ(entries[2].text, "");  // a code straight after the last one
  EXPECT_EQ(entries[2].code, "qrst");
}

TEST(Wordm, LongTextsAreCutTo26Bytes) {
  std::string text;
  for (int i = 0; i < 20; ++i) text += hanzi(i);  // 40 bytes
  const auto entries = splitWordm(text + "abcd" + kA + "efgh", 296);
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].text, text.substr(0, 26));
  EXPECT_EQ(entries[0].code, "abcd");
  EXPECT_EQ(entries[1].text, kA);
  EXPECT_EQ(entries[1].code, "efgh");
}

TEST(Wordm, StopsAtTheEndOfTheDataAndAtTheCount) {
  // Text without a code, and a code cut off after two letters: no entry.
  EXPECT_TRUE(splitWordm(kA + kB, 296).empty());
  const auto cut = splitWordm(kA + "abcd" + kB + "ef", 296);
  ASSERT_EQ(cut.size(), 1u);
  EXPECT_EQ(cut[0].code, "abcd");
  EXPECT_TRUE(splitWordm("", 296).empty());
  EXPECT_EQ(splitWordm(kA + "abcd" + kB + "efgh" + kA + "ijkl", 2).size(), 2u);
  EXPECT_TRUE(splitWordm(kA + "abcd", 0).empty());
}

TEST(BaseDictionary, SplitsIntoOneSegmentPerLetter) {
  const auto segments = splitBase(baseText());
  for (int i = 0; i < 26; ++i) {
    const char c = static_cast<char>('a' + i);
    const std::string expected = std::string(1, c) + " " + hanzi(c) + "\r" + std::string(1, c) +
                                 "b  " + hanzi(c + 100) + hanzi(c + 200) + "\r";
    EXPECT_EQ(segments[static_cast<std::size_t>(i)], expected) << "letter " << c;
  }
}

TEST(BaseDictionary, ShortOrUnterminatedDataLeavesLaterSegmentsEmpty) {
  // Three letters only; the last line has no CR and so ends no segment.
  const auto segments = splitBase("a x\rab y\rb z\rc w");
  EXPECT_EQ(segments[0], "a x\rab y\r");
  EXPECT_EQ(segments[1], "b z\r");
  for (std::size_t i = 2; i < 26; ++i) EXPECT_TRUE(segments[i].empty()) << i;
  for (const auto& s : splitBase("no line ends at all")) EXPECT_TRUE(s.empty());
  for (const auto& s : splitBase("")) EXPECT_TRUE(s.empty());
}

TEST(BaseDictionary, CrLfLineEndsSplitAfterEveryFirstLine) {
  // The dictionary's format uses CR alone. Written with CR LF, the byte after
  // each CR is an LF, never the letter, so every segment ends after one line
  // and the segments no longer match their letters. It must not crash.
  const std::string crlf = baseText("\r\n");
  const auto segments = splitBase(crlf);
  EXPECT_EQ(segments[0], "a " + hanzi('a') + "\r");
  EXPECT_EQ(segments[1], "\nab  " + hanzi('a' + 100) + hanzi('a' + 200) + "\r");
  EXPECT_EQ(segments[2], "\nb " + hanzi('b') + "\r");
  for (const auto& s : segments) {
    ASSERT_FALSE(s.empty());
    EXPECT_EQ(std::count(s.begin(), s.end(), '\r'), 1);
  }
}

TEST(DrillTables, CatalogueOfKindsWidthsAndCounts) {
  struct Row {
    int kind;
    const char* name;
    char rule;
    int width;
    int records;
  };
  const Row rows[] = {
      {2, "onechar", 'A', 3, 26},      {3, "twochar", 'A', 4, 659},
      {4, "threechar", 'A', 5, 5020},  {5, "allchar", 'B', 6, 6727},
      {6, "twocharsel", 'A', 4, 559},  {7, "threecharSel", 'A', 5, 297},
      {8, "allcharSel", 'B', 6, 199},  {9, "keynameCharsel", 'B', 6, 26},
      {10, "codeCharsel", 'B', 6, 49}, {11, "hardcharsel", 'B', 6, 98},
      {12, "word2", 'A', 8, 13432},    {13, "word3", 'A', 10, 3383},
      {14, "word4", 'A', 12, 3559},    {15, "wordm", 'A', 0, 296},
  };
  for (const auto& row : rows) {
    EXPECT_STREQ(kindInfo(row.kind).resource, row.name);
    EXPECT_EQ(kindInfo(row.kind).rule, row.rule) << row.name;
    EXPECT_EQ(recordWidth(row.kind), row.width) << row.name;
    EXPECT_EQ(requiredRecords(row.kind), row.records) << row.name;
  }
  for (int kind : {0, 1, 16, 17, 18, -3, 99}) {
    EXPECT_STREQ(kindInfo(kind).resource, "");
    EXPECT_EQ(requiredRecords(kind), 0);
    EXPECT_FALSE(hasEnoughRecords(kind, std::string(100000, 'x')));
  }
}

TEST(DrillTables, EnoughRecordsMeansWholeRecordsUpToTheCount) {
  const std::string enough(26 * 3, 'x');
  EXPECT_TRUE(hasEnoughRecords(2, enough));
  EXPECT_TRUE(
      hasEnoughRecords(2, enough + "xx"));  // a partial record beyond the count does no harm
  EXPECT_FALSE(hasEnoughRecords(2, enough.substr(1)));
  EXPECT_FALSE(hasEnoughRecords(2, ""));
  EXPECT_TRUE(hasEnoughRecords(15, normaliseRuleA(tableText(15, 296))));
  EXPECT_FALSE(hasEnoughRecords(15, normaliseRuleA(tableText(15, 295))));
}

TEST(LoadPracticeData, ReadsEverythingFromACompleteLibrary) {
  TempDir dir;
  const auto file = dir / "deRizizoz.dll";
  ASSERT_TRUE(testsupport::writeLibrary(file, completeLibrary()));
  const PracticeData data = loadPracticeData(platform::ResourceLibrary(file));

  ASSERT_TRUE(data.basePresent);
  EXPECT_EQ(data.base[25].substr(0, 2), "z ");

  for (int i = 0; i < kRootCount; ++i) {
    const auto& picture = data.rootPictures[static_cast<std::size_t>(i)];
    ASSERT_TRUE(picture.has_value()) << "root" << i + 1;
    ASSERT_EQ(picture->width, 16);
    ASSERT_EQ(picture->height, 16);
    // root i+1 was drawn in the colour 0x010203 * (i + 1).
    const std::uint32_t c = 0x010203u * static_cast<std::uint32_t>(i + 1);
    EXPECT_EQ(picture->rgb[0], (c >> 16) & 0xFF) << i;
    EXPECT_EQ(picture->rgb[2], c & 0xFF) << i;
  }

  for (int kind = 2; kind <= 15; ++kind) {
    const DrillTable& table = data.tables[static_cast<std::size_t>(kind)];
    ASSERT_TRUE(table.present) << kindInfo(kind).resource;
    if (recordWidth(kind) > 0) {
      EXPECT_EQ(table.records.size(),
                static_cast<std::size_t>(recordWidth(kind) * requiredRecords(kind)))
          << kindInfo(kind).resource;
    }
  }
  EXPECT_EQ(data.tables[3].records.substr(0, 4), hanzi(0) + letters(0, 2));
  // Rule B: record 0 has a three-letter code and a space, record 1 four letters.
  EXPECT_EQ(data.tables[5].records.substr(0, 12),
            hanzi(0) + letters(0, 3) + " " + hanzi(1) + letters(1, 4));
  ASSERT_EQ(data.wordm.size(), 296u);
  EXPECT_EQ(data.wordm[295].text, hanzi(295) + hanzi(296) + hanzi(297) + hanzi(298) + hanzi(299));
  EXPECT_EQ(data.wordm[295].code, letters(295, 4));
  for (int kind : {0, 1, 16, 17, 18})
    EXPECT_FALSE(data.tables[static_cast<std::size_t>(kind)].present);
}

TEST(LoadPracticeData, MissingOrDamagedItemsAreAbsentAndTheRestLoads) {
  TempDir dir;
  const auto file = dir / "deRizizoz.dll";
  auto entries = completeLibrary();
  removeEntry(entries, "chardata/base");
  removeEntry(entries, "RCDATA/root5");
  removeEntry(entries, "chardata/twochar");
  replaceEntry(entries, "RCDATA/root7", "BM not a bitmap");
  replaceEntry(entries, "RCDATA/root8", testsupport::bmp24Solid(17, 16, 0xFFFFFF));
  // One record short of what the drill draws from.
  replaceEntry(entries, "chardata/allchar", tableText(5, 6726));
  replaceEntry(entries, "chardata/wordm", tableText(15, 295));
  for (auto& e : entries)
    if (e.name == "chardata/threechar") e.compressed = false;
  ASSERT_TRUE(testsupport::writeLibrary(file, entries));
  ASSERT_TRUE(testsupport::corruptEntry(file, "chardata/threechar"));

  const PracticeData data = loadPracticeData(platform::ResourceLibrary(file));
  EXPECT_FALSE(data.basePresent);
  for (const auto& s : data.base) EXPECT_TRUE(s.empty());
  for (int i = 0; i < kRootCount; ++i) {
    const bool expected = i != 4 && i != 6 && i != 7;
    EXPECT_EQ(data.rootPictures[static_cast<std::size_t>(i)].has_value(), expected)
        << "root" << i + 1;
  }
  for (int kind = 2; kind <= 15; ++kind) {
    const bool expected = kind != 3 && kind != 4 && kind != 5 && kind != 15;
    const DrillTable& table = data.tables[static_cast<std::size_t>(kind)];
    EXPECT_EQ(table.present, expected) << kindInfo(kind).resource;
    if (!table.present) {
      EXPECT_TRUE(table.records.empty()) << kindInfo(kind).resource;
    }
  }
  EXPECT_TRUE(data.wordm.empty());
}

TEST(LoadPracticeData, WithoutALibraryNothingIsPresent) {
  TempDir dir;
  for (const auto& library :
       {platform::ResourceLibrary(), platform::ResourceLibrary(dir / "missing.dll")}) {
    const PracticeData data = loadPracticeData(library);
    EXPECT_FALSE(data.basePresent);
    EXPECT_TRUE(std::none_of(data.rootPictures.begin(), data.rootPictures.end(),
                             [](const auto& p) { return p.has_value(); }));
    EXPECT_TRUE(std::none_of(data.tables.begin(), data.tables.end(),
                             [](const DrillTable& t) { return t.present; }));
    EXPECT_TRUE(data.wordm.empty());
  }
}

TEST(LoadText, ReturnsTheGbkBytesOfATipText) {
  TempDir dir;
  const auto file = dir / "deRizizoz.dll";
  ASSERT_TRUE(testsupport::writeLibrary(file, completeLibrary()));
  const platform::ResourceLibrary library(file);
  EXPECT_EQ(loadText(library, "INTRO"),
            std::optional<std::string>("\xBB\xB6\xD3\xAD\r\nline two\r\n"));
  EXPECT_EQ(loadText(library, "roottip"), std::nullopt);
  EXPECT_EQ(loadText(platform::ResourceLibrary(), "intro"), std::nullopt);
}

TEST(TableChecks, SoundTablesPassAndEachKindOfDamageIsNamed) {
  for (int kind = 2; kind <= 15; ++kind)
    EXPECT_EQ(checkDrillTable(kind, tableText(kind, 40)), std::nullopt) << kind;

  struct Case {
    int kind;
    std::string raw;
    const char* reason;  // part of the reason given
  };
  const Case cases[] = {
      {5, kA + "ztsa\n" + kB + "abc\n", "LF alone"},
      {5, kA + "ztsa\r\n" + kB + "abc\r", "CR alone"},
      {2, kA + "a\r\n" + kB + "b", "no line end"},
      {4, kA + "ZTS\r\n", "not lower case"},
      {4, kA + "zt\r\n", "2 letters"},
      {8, kA + "zt\r\n", "2 letters"},  // rule B pads three letters, no fewer
      {3, kA + "abc\r\n", "3 letters"},
      {3, "x1ab\r\n", "not GB2312"},
      {3, "xyab\r\n", "0 bytes"},
      {3,
       "\x81\x40"
       "ab\r\n",
       "not GB2312"},  // GBK, but not GB2312
      {12, kA + "wxyz\r\n", "2 bytes"},
      {15, "wxyz\r\n", "0 bytes"},
      {15, std::string(28, '\xB0') + "wxyz\r\n", "28 bytes"},
      {2, std::string("\x8F\x00\xE3\x11\x9C\xFF\r\n", 8), "not GB2312"},
  };
  for (const Case& c : cases) {
    const auto reason = checkDrillTable(c.kind, c.raw);
    ASSERT_TRUE(reason.has_value()) << c.kind << " " << c.reason;
    EXPECT_NE(reason->find(c.reason), std::string::npos) << *reason;
    EXPECT_EQ(reason->rfind("line ", 0), 0u) << *reason;
  }
  EXPECT_NE(checkDrillTable(5, kA + "abcd\r\n" + kA + "abc\n")->find("line 2"), std::string::npos);
}

TEST(TableChecks, TheDictionaryEndsLinesWithCrAndIsGroupedByLetter) {
  EXPECT_EQ(checkBaseTable(baseText()), std::nullopt);
  EXPECT_EQ(checkBaseTable(""), std::nullopt);
  const std::pair<std::string, const char*> cases[] = {
      {baseText("\r\n"), "LF"},
      {"b " + kA + "\ra " + kB + "\r", "grouped"},
      {"abcde " + kA + "\r", "code of 1 to 4"},
      {"A " + kA + "\r", "code of 1 to 4"},
      {"a" + kA + "\r", "code of 1 to 4"},
      {"a xy\r", "GB2312"},
      {"a " + std::string(28, '\xB0') + "\r", "GB2312"},
      {"a " + kA + "\rb " + kB, "no line end"},
  };
  for (const auto& [raw, reason] : cases) {
    const auto got = checkBaseTable(raw);
    ASSERT_TRUE(got.has_value()) << reason;
    EXPECT_NE(got->find(reason), std::string::npos) << *got;
  }
}

TEST(LoadPracticeData, ATableThatFailsItsCheckIsAbsentAndTheReasonIsKept) {
  TempDir dir;
  const auto file = dir / "deRizizoz.dll";
  auto entries = completeLibrary();
  std::string lfOnly = tableText(5, requiredRecords(5));
  lfOnly.erase(std::remove(lfOnly.begin(), lfOnly.end(), '\r'), lfOnly.end());
  replaceEntry(entries, "chardata/allchar", lfOnly);
  std::string noise(8000, '\0');
  for (std::size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<char>((i * 7919) % 251);
  replaceEntry(entries, "chardata/wordm", noise);
  replaceEntry(entries, "chardata/base", baseText("\r\n"));
  ASSERT_TRUE(testsupport::writeLibrary(file, entries));

  const PracticeData data = loadPracticeData(platform::ResourceLibrary(file));
  EXPECT_FALSE(data.basePresent);
  for (int kind = 2; kind <= 15; ++kind)
    EXPECT_EQ(data.tables[static_cast<std::size_t>(kind)].present, kind != 5 && kind != 15) << kind;
  EXPECT_TRUE(data.wordm.empty());
  ASSERT_EQ(data.problems.size(), 3u);
  EXPECT_EQ(data.problems[0].rfind("chardata/base: line 2", 0), 0u) << data.problems[0];
  EXPECT_EQ(data.problems[1].rfind("chardata/allchar: line 1", 0), 0u) << data.problems[1];
  EXPECT_EQ(data.problems[2].rfind("chardata/wordm: line 1", 0), 0u) << data.problems[2];
}
