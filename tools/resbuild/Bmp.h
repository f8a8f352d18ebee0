#pragma once
// Windows bitmap files (BITMAPFILEHEADER + BITMAPINFOHEADER, 24 bits per
// pixel, rows bottom-up), the form the tutor's image lists load.
#include <cstdint>
#include <string>
#include <vector>

namespace resbuild {

struct Pixels {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> rgb;  // 0xRRGGBB, rows top to bottom
};

std::string encodeBmp24(const Pixels& image);

}  // namespace resbuild
