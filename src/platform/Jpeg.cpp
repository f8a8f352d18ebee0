#include "platform/Jpeg.h"

#include <csetjmp>
#include <cstddef>

// jpeglib.h uses FILE and size_t without declaring them.
// clang-format off
#include <cstdio>
#include <jpeglib.h>
// clang-format on

namespace quorvel::platform {
namespace {

// Pictures of the resource library are small; anything far beyond this is a
// damaged header, not a picture worth allocating for.
constexpr long long kMaxPixels = 8192LL * 8192LL;

// ---- JPEG -----------------------------------------------------------------

struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf jump;
};

// libjpeg's own error_exit calls exit(); ours returns to decodeInto.
[[noreturn]] void jumpOnError(j_common_ptr cinfo) {
  auto* manager = reinterpret_cast<ErrorManager*>(cinfo->err);
  std::longjmp(manager->jump, 1);
}
void ignoreMessage(j_common_ptr, int) {}
void ignoreOutput(j_common_ptr) {}

// Only plain pointers cross the setjmp and no C++ object lives in this frame,
// so the jump back skips no destructor.
// With headerOnly, only the size is read into `out`.
bool decodeInto(jpeg_decompress_struct* cinfo, ErrorManager* errors, const unsigned char* data,
                unsigned long size, RgbImage* out, bool headerOnly = false) {
  cinfo->err = jpeg_std_error(&errors->base);
  errors->base.error_exit = jumpOnError;
  errors->base.emit_message = ignoreMessage;
  errors->base.output_message = ignoreOutput;
  if (setjmp(errors->jump) != 0) {
    jpeg_destroy_decompress(cinfo);
    return false;
  }
  jpeg_create_decompress(cinfo);
  jpeg_mem_src(cinfo, data, size);
  if (jpeg_read_header(cinfo, TRUE) != JPEG_HEADER_OK) {
    jpeg_destroy_decompress(cinfo);
    return false;
  }
  if (headerOnly) {
    const long long pixels = static_cast<long long>(cinfo->image_width) * cinfo->image_height;
    out->width = static_cast<int>(cinfo->image_width);
    out->height = static_cast<int>(cinfo->image_height);
    jpeg_destroy_decompress(cinfo);
    return pixels > 0 && pixels <= kMaxPixels;
  }
  cinfo->out_color_space = JCS_RGB;
  jpeg_start_decompress(cinfo);
  const long long pixels = static_cast<long long>(cinfo->output_width) * cinfo->output_height;
  if (cinfo->output_components != 3 || pixels <= 0 || pixels > kMaxPixels) {
    jpeg_destroy_decompress(cinfo);
    return false;
  }
  out->width = static_cast<int>(cinfo->output_width);
  out->height = static_cast<int>(cinfo->output_height);
  out->rgb.assign(static_cast<std::size_t>(pixels) * 3, 0);
  const std::size_t stride = static_cast<std::size_t>(out->width) * 3;
  while (cinfo->output_scanline < cinfo->output_height) {
    JSAMPROW row = out->rgb.data() + stride * cinfo->output_scanline;
    if (jpeg_read_scanlines(cinfo, &row, 1) != 1) {
      jpeg_destroy_decompress(cinfo);
      return false;
    }
  }
  jpeg_finish_decompress(cinfo);
  jpeg_destroy_decompress(cinfo);
  return true;
}

// ---- BMP ------------------------------------------------------------------

class Reader {
 public:
  explicit Reader(std::string_view bytes) : bytes_(bytes) {}
  bool has(std::size_t at, std::size_t n) const {
    return at <= bytes_.size() && n <= bytes_.size() - at;
  }
  std::uint8_t u8(std::size_t at) const { return static_cast<std::uint8_t>(bytes_[at]); }
  std::uint16_t u16(std::size_t at) const {
    return static_cast<std::uint16_t>(u8(at) | (u8(at + 1) << 8));
  }
  std::uint32_t u32(std::size_t at) const {
    return static_cast<std::uint32_t>(u16(at)) | (static_cast<std::uint32_t>(u16(at + 2)) << 16);
  }
  std::int32_t i32(std::size_t at) const { return static_cast<std::int32_t>(u32(at)); }
  std::size_t size() const { return bytes_.size(); }

 private:
  std::string_view bytes_;
};

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
};

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kCoreHeaderSize = 12;  // OS/2 style: 16-bit sizes, 3-byte palette entries
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiBitfields = 3;

}  // namespace

std::optional<RgbImage> decodeJpeg(std::string_view bytes) {
  if (bytes.empty()) return std::nullopt;
  jpeg_decompress_struct cinfo{};
  ErrorManager errors{};
  RgbImage image;
  if (!decodeInto(&cinfo, &errors, reinterpret_cast<const unsigned char*>(bytes.data()),
                  static_cast<unsigned long>(bytes.size()), &image)) {
    return std::nullopt;
  }
  return image;
}

std::optional<std::pair<int, int>> jpegSize(std::string_view bytes) {
  if (bytes.empty()) return std::nullopt;
  jpeg_decompress_struct cinfo{};
  ErrorManager errors{};
  RgbImage image;
  if (!decodeInto(&cinfo, &errors, reinterpret_cast<const unsigned char*>(bytes.data()),
                  static_cast<unsigned long>(bytes.size()), &image, true)) {
    return std::nullopt;
  }
  return std::make_pair(image.width, image.height);
}

std::optional<RgbImage> decodeBmp(std::string_view bytes) {
  const Reader in(bytes);
  if (!in.has(0, kFileHeaderSize + 4) || in.u8(0) != 'B' || in.u8(1) != 'M') return std::nullopt;
  const std::uint32_t pixelOffset = in.u32(10);
  const std::size_t info = kFileHeaderSize;
  const std::uint32_t headerSize = in.u32(info);

  long long width = 0, height = 0;
  unsigned bits = 0;
  std::uint32_t compression = kBiRgb, colorsUsed = 0;
  std::size_t paletteEntrySize = 4;
  if (headerSize == kCoreHeaderSize) {
    if (!in.has(info, kCoreHeaderSize)) return std::nullopt;
    width = in.u16(info + 4);
    height = in.u16(info + 6);
    bits = in.u16(info + 10);
    paletteEntrySize = 3;
  } else if (headerSize >= kInfoHeaderSize) {
    if (!in.has(info, kInfoHeaderSize)) return std::nullopt;
    width = in.i32(info + 4);
    height = in.i32(info + 8);
    bits = in.u16(info + 14);
    compression = in.u32(info + 16);
    colorsUsed = in.u32(info + 32);
  } else {
    return std::nullopt;
  }

  const bool topDown = height < 0;
  if (topDown) height = -height;
  if (width <= 0 || height <= 0 || width * height > kMaxPixels) return std::nullopt;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) return std::nullopt;

  // 32-bit pictures may carry explicit channel masks; only the usual
  // byte-aligned ones are taken.
  unsigned redShift = 16, greenShift = 8, blueShift = 0;
  if (compression == kBiBitfields && bits == 32) {
    // Right after a plain info header; the larger headers hold them at the same place.
    const std::size_t masksAt = info + kInfoHeaderSize;
    if (!in.has(masksAt, 12)) return std::nullopt;
    auto shiftOf = [](std::uint32_t mask) -> int {
      for (int s = 0; s <= 24; s += 8)
        if (mask == (0xFFu << s)) return s;
      return -1;
    };
    const int r = shiftOf(in.u32(masksAt)), g = shiftOf(in.u32(masksAt + 4)),
              b = shiftOf(in.u32(masksAt + 8));
    if (r < 0 || g < 0 || b < 0) return std::nullopt;
    redShift = static_cast<unsigned>(r);
    greenShift = static_cast<unsigned>(g);
    blueShift = static_cast<unsigned>(b);
  } else if (compression != kBiRgb) {
    return std::nullopt;
  }

  std::vector<Rgb> palette;
  if (bits <= 8) {
    const std::size_t maxColors = std::size_t{1} << bits;
    const std::size_t colors = (colorsUsed == 0 || colorsUsed > maxColors) ? maxColors : colorsUsed;
    const std::size_t paletteAt = info + headerSize;
    if (!in.has(paletteAt, colors * paletteEntrySize)) {
      return std::nullopt;
    }
    palette.resize(colors);
    for (std::size_t c = 0; c < colors; ++c) {
      const std::size_t at = paletteAt + c * paletteEntrySize;
      palette[c] = Rgb{in.u8(at + 2), in.u8(at + 1), in.u8(at)};
    }
  }

  const std::size_t w = static_cast<std::size_t>(width);
  const std::size_t h = static_cast<std::size_t>(height);
  const std::size_t stride = ((w * bits + 31) / 32) * 4;
  if (!in.has(pixelOffset, stride * h)) return std::nullopt;

  RgbImage image;
  image.width = static_cast<int>(w);
  image.height = static_cast<int>(h);
  image.rgb.resize(w * h * 3);
  for (std::size_t y = 0; y < h; ++y) {
    const std::size_t row = pixelOffset + (topDown ? y : h - 1 - y) * stride;
    std::uint8_t* out = image.rgb.data() + y * w * 3;
    for (std::size_t x = 0; x < w; ++x, out += 3) {
      Rgb px;
      if (bits <= 8) {
        const std::size_t bitAt = x * bits;
        const unsigned byte = in.u8(row + bitAt / 8);
        const unsigned shift = 8 - bits - static_cast<unsigned>(bitAt % 8);
        const std::size_t index = (byte >> shift) & ((1u << bits) - 1);
        // An index beyond a short palette shows black rather than reading past it.
        if (index < palette.size()) px = palette[index];
      } else if (bits == 24) {
        const std::size_t at = row + x * 3;
        px = Rgb{in.u8(at + 2), in.u8(at + 1), in.u8(at)};
      } else {
        const std::uint32_t v = in.u32(row + x * 4);
        px = Rgb{static_cast<std::uint8_t>(v >> redShift),
                 static_cast<std::uint8_t>(v >> greenShift),
                 static_cast<std::uint8_t>(v >> blueShift)};
      }
      out[0] = px.r;
      out[1] = px.g;
      out[2] = px.b;
    }
  }
  return image;
}

}  // namespace quorvel::platform
