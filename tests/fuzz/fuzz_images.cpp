// Root pictures (BMP) and the JPEG pictures come from the library: a damaged
// one is a failed decode, never a crash or a picture of the wrong size.
#include <cstdlib>

#include "FuzzInput.h"
#include "platform/Jpeg.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quorvel;
  const std::string_view input = fuzz::bytes(data, size);
  // A JPEG whose header reads must decode to that size or fail.
  const auto header = platform::jpegSize(input);
  if (const auto jpeg = platform::decodeJpeg(input);
      jpeg && (!header || *header != std::make_pair(jpeg->width, jpeg->height)))
    std::abort();
  for (const auto& image : {platform::decodeBmp(input), platform::decodeJpeg(input)}) {
    if (!image) continue;
    const auto pixels = static_cast<std::size_t>(image->width) * image->height;
    if (image->width <= 0 || image->height <= 0 || image->rgb.size() != pixels * 3) std::abort();
  }
  return 0;
}
