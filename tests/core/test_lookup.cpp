// Character-to-code and code-to-character searches, and the word around a position.
#include <gtest/gtest.h>

#include "lookup/LookupServices.h"
#include "practice/PracticeKind.h"
#include "support/CraftedData.h"

namespace quorvel::testing {
namespace {

const std::string W2a = hz(10) + hz(11), W2b = hz(12) + hz(13);
const std::string W3 = hz(10) + hz(11) + hz(12), W4 = hz(14) + hz(15) + hz(16) + hz(17);
const std::string Mlong = hz(20) + hz(21) + hz(22), Mshort = hz(20) + hz(21), Mone = hz(23);

PracticeData lookupData() {
  PracticeData d;
  auto set = [&](int kind, std::string records) {
    d.tables[static_cast<std::size_t>(kind)] = {true, std::move(records)};
  };
  set(2, hz(0) + "a" + hz(1) + "b" + hz(2) + "c" + hz(3) + "a");
  set(3, hz(0) + "ab" + hz(4) + "ac" + hz(5) + "ab" + hz(6) + "ba");
  set(4, hz(0) + "abc" + hz(7) + "abd" + hz(8) + "xbc");
  set(5, hz(0) + "abcd" + hz(9) + "abc " + hz(7) + "abdx");
  set(12, W2a + "wabc" + W2b + "wabd");
  set(13, W3 + "wabc" + hz(30) + hz(31) + hz(32) + "xxxx");
  set(14, W4 + "wabz");
  // The longer word comes first, so the shorter one is also a prefix of an earlier entry.
  set(15, Mlong + "mabc" + Mshort + "mabd" + Mone + "wabc");
  return d;
}

TEST(LookupCharCodes, GathersEveryLevelsCode) {
  const PracticeData d = lookupData();
  const TCharCodes c = LookupCharCodes(d, hz(0));
  EXPECT_EQ(c.OneCode, "a");
  EXPECT_EQ(c.TwoCode, "ab");
  EXPECT_EQ(c.ThreeCode, "abc");
  EXPECT_EQ(c.AllCode, "abcd");
  EXPECT_EQ(c.Text, hz(0));

  const TCharCodes three = LookupCharCodes(d, hz(9));
  EXPECT_EQ(three.OneCode, "");
  EXPECT_EQ(three.TwoCode, "");
  EXPECT_EQ(three.AllCode, "abc ") << "a three-letter full code keeps its blank";

  const TCharCodes none = LookupCharCodes(d, hz(99));
  EXPECT_EQ(none.AllCode, "");
  EXPECT_EQ(none.OneCode, "");
  EXPECT_EQ(none.Text, hz(99));
  EXPECT_EQ(LookupCharCodes(d, "  ").AllCode, "");
  EXPECT_EQ(LookupCharCodes(d, "").AllCode, "");
}

TEST(LookupWordCode, TriesTheWordTablesInOrder) {
  const PracticeData d = lookupData();
  EXPECT_EQ(LookupWordCode(d, W2a), "wabc");
  EXPECT_EQ(LookupWordCode(d, W2b), "wabd");
  EXPECT_EQ(LookupWordCode(d, W3), "wabc");
  EXPECT_EQ(LookupWordCode(d, W4), "wabz");
  EXPECT_EQ(LookupWordCode(d, Mlong), "mabc");
  EXPECT_EQ(LookupWordCode(d, Mone), "wabc");
  EXPECT_EQ(LookupWordCode(d, hz(40) + hz(41)), "");
  EXPECT_EQ(LookupWordCode(d, ""), "");
  // Part of a word is not the word.
  EXPECT_EQ(LookupWordCode(d, hz(11) + hz(12)), "");
}

TEST(LookupWordCode, AWordThatBeginsALongerEntryGetsItsOwnCode) {
  const PracticeData d = lookupData();
  EXPECT_EQ(LookupWordCodeIn(d, pkWordm, Mshort), "mabd");
  EXPECT_EQ(LookupWordCode(d, Mshort), "mabd");
}

TEST(LookupWordCode, OneTableOnly) {
  const PracticeData d = lookupData();
  EXPECT_EQ(LookupWordCodeIn(d, pkWord2, W2a), "wabc");
  EXPECT_EQ(LookupWordCodeIn(d, pkWord3, W2a), "");
  EXPECT_EQ(LookupWordCodeIn(d, pkWord3, W3), "wabc");
  EXPECT_EQ(LookupWordCodeIn(d, pkWordm, W3), "");
  EXPECT_EQ(LookupWordCodeIn(d, pkOnechar, hz(0)), "");
}

TEST(FindCharsByCode, OneAndTwoLettersGiveAtMostOneCharacterPerCode) {
  const PracticeData d = lookupData();
  EXPECT_EQ(FindCharsByCode(d, "a"), hz(0) + "a ");
  EXPECT_EQ(FindCharsByCode(d, "?"), hz(0) + "a " + hz(1) + "b " + hz(2) + "c ");
  EXPECT_EQ(FindCharsByCode(d, "ab"), hz(0) + "ab ");
  EXPECT_EQ(FindCharsByCode(d, "a?"), hz(0) + "ab " + hz(4) + "ac ");
  EXPECT_EQ(FindCharsByCode(d, "??"), hz(0) + "ab " + hz(4) + "ac " + hz(6) + "ba ");
  EXPECT_EQ(FindCharsByCode(d, "q"), "");
}

TEST(FindCharsByCode, ThreeAndFourLettersListEveryMatchInTableOrder) {
  const PracticeData d = lookupData();
  EXPECT_EQ(FindCharsByCode(d, "ab?"), hz(0) + "abc " + hz(7) + "abd ");
  EXPECT_EQ(FindCharsByCode(d, "?bc"), hz(0) + "abc " + hz(8) + "xbc ");
  // hz(9) has the three-letter full code abc: only "threechar" is searched.
  EXPECT_EQ(FindCharsByCode(d, "abc"), hz(0) + "abc ");
  EXPECT_EQ(FindCharsByCode(d, "ab??"), hz(0) + "abcd " + hz(7) + "abdx ");
  EXPECT_EQ(FindCharsByCode(d, "abc?"), hz(0) + "abcd ") << "a blank is no letter";
  EXPECT_EQ(FindCharsByCode(d, ""), "");
  EXPECT_EQ(FindCharsByCode(d, "abcde"), "");
}

TEST(FindWordsByCode, OnlyFourLettersAndTwoCharacterWordsFirst) {
  const PracticeData d = lookupData();
  EXPECT_EQ(FindWordsByCode(d, "wab?"),
            W2a + "wabc " + W2b + "wabd " + W3 + "wabc " + W4 + "wabz " + Mone + "wabc ");
  EXPECT_EQ(FindWordsByCode(d, "mab?"), Mlong + "mabc " + Mshort + "mabd ");
  EXPECT_EQ(FindWordsByCode(d, "wab"), "");
  EXPECT_EQ(FindWordsByCode(d, "zzzz"), "");
}

TEST(Lookup, AbsentOrShortTablesGiveEmptyResults) {
  const PracticeData empty;
  EXPECT_EQ(LookupCharCodes(empty, hz(0)).AllCode, "");
  EXPECT_EQ(LookupWordCode(empty, W2a), "");
  EXPECT_EQ(FindCharsByCode(empty, "?"), "");
  EXPECT_EQ(FindWordsByCode(empty, "????"), "");

  // Records cut off by the end of a table are ignored, never read past.
  PracticeData cut = lookupData();
  cut.tables[5].records = hz(0) + "abcd" + hz(9) + "ab";
  cut.tables[12].records = W2a + "wabc" + W2b + "wa";
  cut.tables[15].records = Mlong + "mabc" + Mshort + "ma";
  cut.tables[3].records = hz(0) + "ab" + hz(4);
  EXPECT_EQ(LookupCharCodes(cut, hz(9)).AllCode, "");
  EXPECT_EQ(LookupWordCode(cut, W2b), "");
  EXPECT_EQ(FindCharsByCode(cut, "a?"), hz(0) + "ab ");
  EXPECT_EQ(FindCharsByCode(cut, "????"), hz(0) + "abcd ");
  EXPECT_EQ(FindWordsByCode(cut, "????"), W2a + "wabc " + W3 + "wabc " + hz(30) + hz(31) + hz(32) +
                                              "xxxx " + W4 + "wabz " + Mlong + "mabc ");
  EXPECT_EQ(LookupWordCodeIn(cut, pkWordm, Mshort), "ma") << "a code cut by the end of the table";
  // A zero byte ends a table.
  PracticeData zero = lookupData();
  zero.tables[2].records = hz(0) + "a" + std::string(1, '\0') + hz(1) + "b";
  EXPECT_EQ(FindCharsByCode(zero, "?"), hz(0) + "a ");
}

TEST(WordAtPosition, FindsTheBlankSeparatedWordAroundAPosition) {
  const std::string text = W3 + "  " + W2a + "  " + Mone + "  ";
  EXPECT_EQ(WordAtPosition(text, 0), W3);
  EXPECT_EQ(WordAtPosition(text, 2), W3);
  EXPECT_EQ(WordAtPosition(text, 4), W3);
  EXPECT_EQ(WordAtPosition(text, 6), "") << "on the separator";
  EXPECT_EQ(WordAtPosition(text, 8), W2a);
  EXPECT_EQ(WordAtPosition(text, 10), W2a);
  EXPECT_EQ(WordAtPosition(text, 14), Mone);
  EXPECT_EQ(WordAtPosition(W2a, 2), W2a) << "no blank at either end";
  EXPECT_EQ(WordAtPosition(text, text.size()), "");
  EXPECT_EQ(WordAtPosition("", 0), "");
  EXPECT_EQ(WordAtPosition(" " + W2a, 0), "");
}

}  // namespace
}  // namespace quorvel::testing
