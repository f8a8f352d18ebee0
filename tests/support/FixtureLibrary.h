#pragma once
// Small resource libraries made on the fly for tests, including damaged ones,
// and a temporary directory that removes itself. No test framework inside, so
// both test programs can use it.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel::testsupport {

// A fresh directory under the system's temporary directory, removed with
// everything in it when the object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(std::string_view name) const { return path_ / std::string(name); }

 private:
  std::filesystem::path path_;
};

// Sets (or, with nullopt, removes) an environment variable for the lifetime
// of the object and restores the old value afterwards.
class ScopedEnv {
 public:
  ScopedEnv(std::string name, std::optional<std::string> value);
  ~ScopedEnv();
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  std::string name_;
  std::optional<std::string> old_;
};

struct FixtureEntry {
  std::string name;  // "TYPE/NAME", e.g. "chardata/base"
  std::string bytes;
  bool compressed = true;  // false: stored, so its bytes appear in the file as they are
};

// Writes a zip archive holding the entries (replacing any file there).
// Returns false when libzip could not write it.
bool writeLibrary(const std::filesystem::path& file, const std::vector<FixtureEntry>& entries);

// Writes raw bytes to a file (for libraries that are not zip archives at all).
bool writeFile(const std::filesystem::path& file, std::string_view bytes);
std::optional<std::string> readFile(const std::filesystem::path& file);

// Damage to one entry of an existing archive; false when the entry is not found.
// Flips the first byte of the entry's data, so its CRC (or, compressed, its
// stream) no longer matches.
bool corruptEntry(const std::filesystem::path& file, std::string_view entryName);
// Declares the entry's stored data `keep` bytes long, as if the rest had been
// cut off; the size it claims once unpacked stays as it was.
bool truncateEntry(const std::filesystem::path& file, std::string_view entryName,
                   std::uint32_t keep);

// Makes the entry claim to be `unpacked` bytes once unpacked, as a damaged
// header might; its data stays as it was.
bool claimSize(const std::filesystem::path& file, std::string_view entryName,
               std::uint32_t unpacked);

// A Windows bitmap file (file header + info header, 24 bits, bottom-up) of
// width x height pixels; pixel(x, y) gives 0xRRGGBB.
template <typename PixelFn>
std::string bmp24(int width, int height, PixelFn pixel);
std::string bmp24Solid(int width, int height, std::uint32_t rgb);

// ---- implementation of the template -----------------------------------------
namespace detail {
void putU16(std::string& s, std::uint16_t v);
void putU32(std::string& s, std::uint32_t v);
std::string bmpHeaders(int width, int height, int bits, std::uint32_t paletteColors,
                       std::uint32_t imageBytes);
}  // namespace detail

template <typename PixelFn>
std::string bmp24(int width, int height, PixelFn pixel) {
  const int stride = (width * 3 + 3) / 4 * 4;
  std::string out =
      detail::bmpHeaders(width, height, 24, 0, static_cast<std::uint32_t>(stride * height));
  for (int y = height - 1; y >= 0; --y) {
    std::string row;
    for (int x = 0; x < width; ++x) {
      const std::uint32_t c = pixel(x, y);
      row.push_back(static_cast<char>(c & 0xFF));
      row.push_back(static_cast<char>((c >> 8) & 0xFF));
      row.push_back(static_cast<char>((c >> 16) & 0xFF));
    }
    row.resize(static_cast<std::size_t>(stride), '\0');
    out += row;
  }
  return out;
}

}  // namespace quorvel::testsupport
