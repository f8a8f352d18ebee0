#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <vector>

// jpeglib.h uses FILE and size_t without declaring them.
// clang-format off
#include <cstdio>
#include <jpeglib.h>
// clang-format on

#include "platform/Jpeg.h"
#include "support/FixtureLibrary.h"

using namespace quorvel;
using platform::decodeBmp;
using platform::decodeJpeg;
using testsupport::detail::bmpHeaders;
using testsupport::detail::putU32;

namespace {

// A small JPEG made with libjpeg's encoder: left half red, right half blue.
std::string makeJpeg(int width, int height) {
  jpeg_compress_struct c{};
  jpeg_error_mgr err{};
  c.err = jpeg_std_error(&err);
  jpeg_create_compress(&c);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&c, &buffer, &size);
  c.image_width = static_cast<JDIMENSION>(width);
  c.image_height = static_cast<JDIMENSION>(height);
  c.input_components = 3;
  c.in_color_space = JCS_RGB;
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, 95, TRUE);
  jpeg_start_compress(&c, TRUE);
  std::vector<unsigned char> row(static_cast<std::size_t>(width) * 3);
  for (int x = 0; x < width; ++x) {
    row[static_cast<std::size_t>(x) * 3 + 0] = x < width / 2 ? 255 : 0;
    row[static_cast<std::size_t>(x) * 3 + 2] = x < width / 2 ? 0 : 255;
  }
  while (c.next_scanline < c.image_height) {
    JSAMPROW r = row.data();
    jpeg_write_scanlines(&c, &r, 1);
  }
  jpeg_finish_compress(&c);
  jpeg_destroy_compress(&c);
  std::string out(reinterpret_cast<const char*>(buffer), size);
  free(buffer);
  return out;
}

std::array<int, 3> pixel(const platform::RgbImage& image, int x, int y) {
  const auto at = (static_cast<std::size_t>(y) * static_cast<std::size_t>(image.width) +
                   static_cast<std::size_t>(x)) *
                  3;
  return {image.rgb[at], image.rgb[at + 1], image.rgb[at + 2]};
}

}  // namespace

TEST(Jpeg, DecodesIntoRgbRows) {
  const auto image = decodeJpeg(makeJpeg(32, 16));
  ASSERT_TRUE(image.has_value());
  EXPECT_EQ(image->width, 32);
  EXPECT_EQ(image->height, 16);
  ASSERT_EQ(image->rgb.size(), 32u * 16u * 3u);
  EXPECT_EQ(platform::jpegSize(makeJpeg(32, 16)), std::make_pair(32, 16)) << "the header alone";
  const auto left = pixel(*image, 2, 8);
  const auto right = pixel(*image, 29, 8);
  EXPECT_GT(left[0], 200);
  EXPECT_LT(left[2], 60);
  EXPECT_LT(right[0], 60);
  EXPECT_GT(right[2], 200);
}

TEST(Jpeg, CorruptPicturesFailInsteadOfEndingTheProgram) {
  const std::string good = makeJpeg(32, 16);
  EXPECT_FALSE(decodeJpeg("").has_value());
  EXPECT_FALSE(decodeJpeg("not a jpeg at all").has_value());
  EXPECT_FALSE(decodeJpeg(good.substr(0, 20)).has_value());
  std::string broken = good;
  for (std::size_t i = 2; i < 200 && i < broken.size(); ++i)
    broken[i] = static_cast<char>(0xFF - i);
  EXPECT_FALSE(decodeJpeg(broken).has_value());
  for (const std::string& bad : {std::string(), std::string("not a jpeg"), good.substr(0, 20)})
    EXPECT_FALSE(platform::jpegSize(bad).has_value());
  // A picture cut off in its data decodes as far as it goes or fails; it
  // never ends the program. Every cut is tried.
  for (std::size_t cut = 0; cut < good.size(); cut += 7) {
    const auto image = decodeJpeg(good.substr(0, cut));
    if (image) {
      EXPECT_EQ(image->rgb.size(), 32u * 16u * 3u);
    }
  }
}

TEST(Bmp, Decodes24BitBottomUpAndTopDown) {
  const auto bytes = testsupport::bmp24(
      3, 2, [](int x, int y) { return static_cast<std::uint32_t>(0x100000 * (x + 1) + y); });
  const auto image = decodeBmp(bytes);
  ASSERT_TRUE(image.has_value());
  EXPECT_EQ(image->width, 3);
  EXPECT_EQ(image->height, 2);
  EXPECT_EQ(pixel(*image, 0, 0), (std::array<int, 3>{0x10, 0, 0}));
  EXPECT_EQ(pixel(*image, 2, 1), (std::array<int, 3>{0x30, 0, 1}));

  // The same rows stored top row first, marked by a negative height.
  std::string topDown = bmpHeaders(1, -2, 24, 0, 8);
  topDown += std::string("\x01\x02\x03\x00", 4);  // top row: blue 1, green 2, red 3
  topDown += std::string("\x04\x05\x06\x00", 4);
  const auto td = decodeBmp(topDown);
  ASSERT_TRUE(td.has_value());
  EXPECT_EQ(td->height, 2);
  EXPECT_EQ(pixel(*td, 0, 0), (std::array<int, 3>{3, 2, 1}));
  EXPECT_EQ(pixel(*td, 0, 1), (std::array<int, 3>{6, 5, 4}));
}

TEST(Bmp, DecodesPalettedAnd32BitPictures) {
  // 1 bit: white and black, 9 pixels wide so a row spans two bytes (padded to 4).
  std::string mono = bmpHeaders(9, 1, 1, 2, 4);
  putU32(mono, 0x00FFFFFF);
  putU32(mono, 0x00000000);
  mono += std::string("\x55\x80\x00\x00", 4);  // 0101 0101 1...
  const auto m = decodeBmp(mono);
  ASSERT_TRUE(m.has_value());
  EXPECT_EQ(pixel(*m, 0, 0), (std::array<int, 3>{255, 255, 255}));
  EXPECT_EQ(pixel(*m, 1, 0), (std::array<int, 3>{0, 0, 0}));
  EXPECT_EQ(pixel(*m, 8, 0), (std::array<int, 3>{0, 0, 0}));

  // 4 bits: two pixels per byte, high nibble first.
  std::string nibbles = bmpHeaders(2, 1, 4, 3, 4);
  putU32(nibbles, 0x00112233);
  putU32(nibbles, 0x00445566);
  putU32(nibbles, 0x00778899);
  nibbles += std::string("\x21\x00\x00\x00", 4);
  const auto n = decodeBmp(nibbles);
  ASSERT_TRUE(n.has_value());
  EXPECT_EQ(pixel(*n, 0, 0), (std::array<int, 3>{0x77, 0x88, 0x99}));
  EXPECT_EQ(pixel(*n, 1, 0), (std::array<int, 3>{0x44, 0x55, 0x66}));

  // 8 bits with an index beyond a short palette: black, not a read past it.
  std::string indexed = bmpHeaders(2, 1, 8, 1, 4);
  putU32(indexed, 0x00ABCDEF);
  indexed += std::string("\x00\xC8\x00\x00", 4);
  const auto i8 = decodeBmp(indexed);
  ASSERT_TRUE(i8.has_value());
  EXPECT_EQ(pixel(*i8, 0, 0), (std::array<int, 3>{0xAB, 0xCD, 0xEF}));
  EXPECT_EQ(pixel(*i8, 1, 0), (std::array<int, 3>{0, 0, 0}));

  std::string rgba = bmpHeaders(1, 1, 32, 0, 4);
  putU32(rgba, 0xFF102030);
  const auto p32 = decodeBmp(rgba);
  ASSERT_TRUE(p32.has_value());
  EXPECT_EQ(pixel(*p32, 0, 0), (std::array<int, 3>{0x10, 0x20, 0x30}));
}

TEST(Bmp, DamagedFilesFail) {
  const std::string good = testsupport::bmp24Solid(16, 16, 0xFFFFFF);
  ASSERT_TRUE(decodeBmp(good).has_value());
  EXPECT_FALSE(decodeBmp("").has_value());
  EXPECT_FALSE(decodeBmp("BM").has_value());
  EXPECT_FALSE(decodeBmp("XX" + good.substr(2)).has_value());
  for (std::size_t cut = 0; cut < good.size(); ++cut) {
    EXPECT_FALSE(decodeBmp(good.substr(0, cut)).has_value()) << "cut at " << cut;
  }
  EXPECT_FALSE(decodeBmp(bmpHeaders(0, 1, 24, 0, 0)).has_value());
  EXPECT_FALSE(decodeBmp(bmpHeaders(100000, 100000, 24, 0, 0)).has_value())
      << "no giant allocation";
  EXPECT_FALSE(decodeBmp(bmpHeaders(1, 1, 16, 0, 4) + std::string(4, '\0')).has_value())
      << "16 bits are not taken";
  std::string offsetPastEnd = good;
  offsetPastEnd[10] = '\xFF';
  offsetPastEnd[11] = '\xFF';
  EXPECT_FALSE(decodeBmp(offsetPastEnd).has_value());
}
