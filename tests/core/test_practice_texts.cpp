// The practice texts that come with the program read as clean GBK text.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/Gbk.h"
#include "textpractice/TextFile.h"

namespace fs = std::filesystem;

TEST(ShippedPracticeTexts, EveryTextReadsWhollyWithoutReplacedCharacters) {
  const std::string replaced = quorvel::gbk::fromUtf8("□");
  int texts = 0;
  bool sawGbk = false;
  for (const auto& entry :
       fs::directory_iterator(fs::path(QUORVEL_SOURCE_DIR) / "resources/practice-texts")) {
    if (entry.path().extension() != ".txt") continue;
    SCOPED_TRACE(entry.path().filename().string());
    ++texts;
    const auto loaded = quorvel::textfile::readPracticeText(entry.path().string());
    ASSERT_TRUE(loaded.ok) << loaded.error;
    EXPECT_FALSE(loaded.truncated);
    EXPECT_GT(loaded.gbk.size(), 40u);
    EXPECT_EQ(loaded.gbk.find(replaced), std::string::npos) << "a character GBK cannot hold";
    sawGbk = sawGbk || loaded.encoding == quorvel::textfile::Encoding::Gbk;
  }
  EXPECT_GE(texts, 6);
  EXPECT_TRUE(sawGbk) << "one text is kept as a Windows editor saves it";
}
