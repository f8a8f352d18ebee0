// The settings store read from its file, as the program does: any bytes in
// the learner's Quorvel.conf must give values or defaults, a save must keep
// what could not be read in a copy, and a value written must read back.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "FuzzInput.h"
#include "platform/Registry.h"

namespace {
std::string contentOf(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quorvel::platform;
  const std::filesystem::path dir = quorvel::fuzz::scratchFile("settings");
  std::error_code ec;
  std::filesystem::remove_all(dir, ec);
  std::filesystem::create_directories(dir, ec);
  const std::filesystem::path file = dir / "Quorvel.conf";
  const std::string bytes(quorvel::fuzz::bytes(data, size));
  if (!quorvel::fuzz::writeScratch(file, bytes)) return 0;
  const char* key = "SOFTWARE\\Marrowby\\Quorvel";
  Registry store(file);
  const bool damaged = !store.problem().empty();
  store.readInt(key, "musicNo");
  store.readString(key, "Owner");
  if (!store.createKey(key) || !store.writeInt(key, "MaxSize", 1)) std::abort();
  if (Registry(file).readInt(key, "maxsize") != 1) std::abort();
  // What could not be read is kept as it was.
  if (damaged && contentOf(store.damagedCopy()) != bytes) std::abort();
  return 0;
}
