#pragma once
// JPEG and Windows bitmap decoding into plain RGB pixels (no Qt). A corrupt
// picture is an ordinary failure, never an exit().
#include <cstdint>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

namespace quorvel::platform {

struct RgbImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgb;  // width * height * 3, rows top to bottom
};

std::optional<RgbImage> decodeJpeg(std::string_view bytes);
// Width and height from the header alone, far cheaper than decoding.
std::optional<std::pair<int, int>> jpegSize(std::string_view bytes);
// A .bmp file with its file header: 1, 4, 8, 24 or 32 bits per pixel, uncompressed.
std::optional<RgbImage> decodeBmp(std::string_view bytes);

}  // namespace quorvel::platform
