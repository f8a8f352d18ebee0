#pragma once
// The test's settings, kept for the frame's life so the test settings dialog
// offers the last user name and minutes again.
#include <cstdint>
#include <string>

namespace quorvel {

struct TExamSettings {
  static constexpr std::size_t kNameMax = 16;  // bytes of GBK
  std::string userName;      // GBK, at most 16 bytes, never cut inside a character
  std::uint8_t mode = 0;     // 0 test by time, 1 test by quantity
  std::int32_t minutes = 0;  // the limit of a test by time
};

}  // namespace quorvel
