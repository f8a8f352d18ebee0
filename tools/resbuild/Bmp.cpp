#include "Bmp.h"

namespace resbuild {
namespace {

void put16(std::string& out, unsigned v) {
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>((v >> 8) & 0xFF);
}
void put32(std::string& out, std::uint32_t v) {
  put16(out, v & 0xFFFF);
  put16(out, v >> 16);
}

}  // namespace

std::string encodeBmp24(const Pixels& image) {
  const std::uint32_t rowBytes = (static_cast<std::uint32_t>(image.width) * 3 + 3) & ~3u;
  const std::uint32_t dataBytes = rowBytes * static_cast<std::uint32_t>(image.height);
  const std::uint32_t headerBytes = 14 + 40;
  std::string out;
  out.reserve(headerBytes + dataBytes);
  // BITMAPFILEHEADER
  out += "BM";
  put32(out, headerBytes + dataBytes);
  put32(out, 0);
  put32(out, headerBytes);
  // BITMAPINFOHEADER
  put32(out, 40);
  put32(out, static_cast<std::uint32_t>(image.width));
  put32(out, static_cast<std::uint32_t>(image.height));  // positive: bottom-up
  put16(out, 1);
  put16(out, 24);
  put32(out, 0);  // BI_RGB
  put32(out, dataBytes);
  put32(out, 2835);  // 72 dpi
  put32(out, 2835);
  put32(out, 0);
  put32(out, 0);
  for (int y = image.height - 1; y >= 0; --y) {
    std::uint32_t written = 0;
    for (int x = 0; x < image.width; ++x) {
      std::uint32_t p = image.rgb[static_cast<std::size_t>(y) * image.width + x];
      out += static_cast<char>(p & 0xFF);          // blue
      out += static_cast<char>((p >> 8) & 0xFF);   // green
      out += static_cast<char>((p >> 16) & 0xFF);  // red
      written += 3;
    }
    for (; written < rowBytes; ++written) out += '\0';
  }
  return out;
}

}  // namespace resbuild
