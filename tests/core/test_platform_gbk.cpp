#include <gtest/gtest.h>

#include "platform/Gbk.h"

using namespace quorvel;

namespace {

// 中文 in GBK and in UTF-8.
const std::string kGbkZhongWen = "\xD6\xD0\xCE\xC4";
const std::string kUtf8ZhongWen = "\xE4\xB8\xAD\xE6\x96\x87";

}  // namespace

TEST(Gbk, ConvertsBothWaysAndKeepsAscii) {
  EXPECT_EQ(gbk::fromUtf8(kUtf8ZhongWen), kGbkZhongWen);
  EXPECT_EQ(gbk::toUtf8(kGbkZhongWen), kUtf8ZhongWen);
  const std::string mixed = "ab " + kUtf8ZhongWen + "\r\n1";
  EXPECT_EQ(gbk::toUtf8(gbk::fromUtf8(mixed)), mixed);
  EXPECT_EQ(gbk::fromUtf8Strict(mixed), "ab " + kGbkZhongWen + "\r\n1");
  EXPECT_EQ(gbk::toUtf8Strict(kGbkZhongWen), kUtf8ZhongWen);
  EXPECT_EQ(gbk::fromUtf8(""), "");
  EXPECT_EQ(gbk::toUtf8(""), "");
}

TEST(Gbk, RoundTripsEveryGb2312Character) {
  // Rows 0xB0..0xF7 hold the hanzi; every one of them must survive both ways.
  std::string all;
  for (int lead = 0xB0; lead <= 0xF7; ++lead) {
    for (int trail = 0xA1; trail <= 0xFE; ++trail) {
      if (lead == 0xD7 && trail > 0xF9) continue;  // the unassigned end of row 55
      all.push_back(static_cast<char>(lead));
      all.push_back(static_cast<char>(trail));
    }
  }
  const auto utf8 = gbk::toUtf8Strict(all);
  ASSERT_TRUE(utf8.has_value());
  EXPECT_EQ(gbk::fromUtf8Strict(*utf8), all);
}

TEST(Gbk, LongTextsCrossTheInternalBuffer) {
  std::string utf8;
  for (int i = 0; i < 2000; ++i) utf8 += kUtf8ZhongWen;
  const std::string gbkText = gbk::fromUtf8(utf8);
  EXPECT_EQ(gbkText.size(), 4u * 2000u);
  EXPECT_EQ(gbk::toUtf8(gbkText), utf8);
}

TEST(Gbk, LenientFormsReplaceWhatCannotBeConverted) {
  // An emoji has no GBK form; broken UTF-8 is one '?' per bad byte.
  EXPECT_EQ(gbk::fromUtf8("a\xF0\x9F\x98\x80"
                          "b"),
            "a?b");
  EXPECT_EQ(gbk::fromUtf8("a\xFF"
                          "b"),
            "a?b");
  EXPECT_EQ(gbk::fromUtf8(kUtf8ZhongWen + "\xE4\xB8"), kGbkZhongWen + "?");
  // A byte GBK does not use, and a lead byte cut off at the end.
  EXPECT_EQ(gbk::toUtf8("a\xFF"
                        "b"),
            "a\xEF\xBF\xBD"
            "b");
  EXPECT_EQ(gbk::toUtf8(kGbkZhongWen + "\xD6"), kUtf8ZhongWen + "\xEF\xBF\xBD");
}

TEST(Gbk, StrictFormsRefuseWhatCannotBeConverted) {
  EXPECT_FALSE(gbk::fromUtf8Strict("a\xF0\x9F\x98\x80").has_value());
  EXPECT_FALSE(gbk::fromUtf8Strict("\xC3").has_value());
  EXPECT_FALSE(gbk::toUtf8Strict("\xFF\xFF").has_value());
  EXPECT_FALSE(gbk::toUtf8Strict(kGbkZhongWen + "\xD6").has_value());
  // A failed strict call leaves nothing behind for the next one.
  EXPECT_EQ(gbk::toUtf8Strict(kGbkZhongWen), kUtf8ZhongWen);
}

TEST(Gbk, HeadNeverEndsInsideACharacter) {
  // "a中文" is 1 + 2 + 2 bytes.
  const std::string text = "a" + kGbkZhongWen;
  const struct {
    std::size_t max;
    std::string expected;
  } cases[] = {
      {0, ""}, {1, "a"}, {2, "a"}, {3, "a\xD6\xD0"}, {4, "a\xD6\xD0"}, {5, text}, {99, text},
  };
  for (const auto& c : cases)
    EXPECT_EQ(gbk::head(text, c.max), c.expected) << "at most " << c.max << " bytes";
  // A lead byte with its trail byte missing is dropped, not kept half.
  EXPECT_EQ(gbk::head("ab\xD6", 16), "ab");
}

TEST(Gbk, CharactersOutsideGbkAreLentCodesShownAsThemselves) {
  const std::string emoji = gbk::lendCode(U'😀'), extB = gbk::lendCode(U'𠀀');
  ASSERT_EQ(emoji.size(), 2u);
  EXPECT_TRUE(gbk::inLendingArea(emoji));
  EXPECT_NE(emoji, extB);
  EXPECT_EQ(gbk::lendCode(U'😀'), emoji);  // the same character, the same code
  EXPECT_EQ(gbk::toUtf8("a" + emoji + kGbkZhongWen + extB), "a😀" + kUtf8ZhongWen + "𠀀");
  EXPECT_EQ(gbk::toUtf8Strict(emoji + "b"), "😀b");
  EXPECT_EQ(gbk::lentCharacter(kGbkZhongWen.substr(0, 2)), "");
  EXPECT_FALSE(gbk::inLendingArea(kGbkZhongWen.substr(0, 2)));
  EXPECT_EQ(gbk::decodeGb18030("\x95\x32\x82\x36"), U'𠀀');
  EXPECT_EQ(gbk::decodeGb18030("\x95\x32\x82"), std::nullopt);
}
