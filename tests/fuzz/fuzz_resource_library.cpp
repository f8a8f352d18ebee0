// The resource library is a zip archive from disk: any bytes there must give
// entries or a failed read, never a crash.
#include <array>
#include <cstdlib>
#include <string_view>
#include <utility>

#include "FuzzInput.h"
#include "platform/ResourceLibrary.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quorvel;
  const auto& file = fuzz::scratchFile("library.dll");
  if (!fuzz::writeScratch(file, fuzz::bytes(data, size))) return 0;
  static constexpr std::array<std::pair<std::string_view, std::string_view>, 5> kEntries = {{
      {"chardata", "base"},
      {"RCDATA", "root1"},
      {"JPEG", "Bgjpg"},
      {"MIDI", "music1"},
      {"TIPDATA", "intro"},
  }};
  const platform::ResourceLibrary library(file);
  for (const auto& [type, name] : kEntries) {
    const platform::ResourceData entry = library.read(type, name);
    if (!entry.ok() && !entry.bytes.empty()) std::abort();  // a failed read hands out nothing
  }
  return 0;
}
