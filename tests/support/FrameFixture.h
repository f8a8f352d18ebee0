#pragma once
// A practice frame wired to a recording host, a fake clock, scripted
// randomness and settable lock keys, with typing helpers.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "drills/CharWordDrill.h"
#include "kinds/KindFactory.h"
#include "platform/Gbk.h"
#include "practice/PracticeFrame.h"
#include "support/CraftedData.h"
#include "support/FakeClock.h"
#include "support/RecordingHost.h"
#include "support/ScriptedRandom.h"

namespace quorvel::testing {

class FrameFixture : public ::testing::Test {
 protected:
  FrameFixture() : frame(FrameServices{&host, &clock, &random, &locks}, makePracticeKind) {}

  void SetUp() override { frame.setUp(craftedData()); }
  void TearDown() override {
    std::error_code ignored;
    if (!tempDir_.empty()) std::filesystem::remove_all(tempDir_, ignored);
  }

  // Writes a file into this test's own temporary folder; returns its path.
  std::string writeFile(const std::string& name, const std::string& bytes) {
    if (tempDir_.empty()) {
      const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
      tempDir_ =
          std::filesystem::temp_directory_path() / ("quorvel-" + std::to_string(::getpid()) + "-" +
                                                    info->test_suite_name() + "-" + info->name());
      std::filesystem::create_directories(tempDir_);
    }
    const std::filesystem::path path = tempDir_ / name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path.string();
  }

  CharWordDrill& drill(int kind) { return dynamic_cast<CharWordDrill&>(*frame.kind(kind)); }

  static std::uint16_t key(char letter) {
    return static_cast<std::uint16_t>(vk::KeyA + (letter - 'a'));
  }
  void press(std::uint16_t key, std::uint8_t modifiers = 0) {
    frame.keyDown(vk::KeyPress{key, modifiers});
  }
  void typeLetters(const std::string& code) {
    for (char c : code) press(static_cast<std::uint16_t>(vk::KeyA + (c - 'a')));
  }
  // Types the one-letter code of hz(i) (0..25) and takes it with the space bar.
  void typeChar(int i) {
    press(static_cast<std::uint16_t>(vk::KeyA + i));
    press(vk::Space);
  }

  std::string entryAt(const CharWordDrill& d, int offset) const {
    return std::string(d.typed().begin() + offset, d.typed().begin() + offset + 2);
  }
  std::string itemAt(const CharWordDrill& d, int offset) const {
    return std::string(d.sequence().begin() + offset, d.sequence().begin() + offset + 2);
  }
  const CellLabel& textCell(int pos) const {
    return frame.view().cells[static_cast<std::size_t>(cellIndex(pos % 25, 2 * (pos / 25)))];
  }
  const CellLabel& entryCell(int pos) const {
    return frame.view().cells[static_cast<std::size_t>(cellIndex(pos % 25, 2 * (pos / 25)) + 1)];
  }
  static std::string g(const char* utf8) { return gbk::fromUtf8(utf8); }
  std::string pageInfo(int view, int practice) const {
    return g("练习区：当前查看页是第") + std::to_string(view) + g("页，练习页是第") +
           std::to_string(practice) + g("页。");
  }

  std::filesystem::path tempDir_;
  RecordingHost host;
  FakeClock clock;
  ScriptedRandom random;
  FakeLocks locks;
  PracticeFrame frame;
};

}  // namespace quorvel::testing
