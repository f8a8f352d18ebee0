// Root pictures (BMP) and the JPEG pictures come from the library: a damaged
// one is a failed decode, never a crash or a picture of the wrong size.
#include <cstdlib>

#include "FuzzInput.h"
#include "platform/Jpeg.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quorvel;
  const std::string_view input = fuzz::bytes(data, size);
  for (const auto& image : {platform::decodeBmp(input), platform::decodeJpeg(input)}) {
    if (!image) continue;
    const auto pixels = static_cast<std::size_t>(image->width) * image->height;
    if (image->width <= 0 || image->height <= 0 || image->rgb.size() != pixels * 3) std::abort();
  }
  return 0;
}
