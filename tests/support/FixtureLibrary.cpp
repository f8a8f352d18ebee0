#include "support/FixtureLibrary.h"

#include <zip.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <system_error>

namespace quorvel::testsupport {

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "quorvel-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr)
    throw std::runtime_error("cannot create a temporary directory");
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

ScopedEnv::ScopedEnv(std::string name, std::optional<std::string> value) : name_(std::move(name)) {
  if (const char* old = std::getenv(name_.c_str())) old_ = old;
  if (value)
    setenv(name_.c_str(), value->c_str(), 1);
  else
    unsetenv(name_.c_str());
}

ScopedEnv::~ScopedEnv() {
  if (old_)
    setenv(name_.c_str(), old_->c_str(), 1);
  else
    unsetenv(name_.c_str());
}

bool writeLibrary(const std::filesystem::path& file, const std::vector<FixtureEntry>& entries) {
  std::error_code ec;
  std::filesystem::remove(file, ec);
  int error = 0;
  zip_t* archive = zip_open(file.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
  if (archive == nullptr) return false;
  for (const auto& entry : entries) {
    // The buffer must live until zip_close; the entries vector outlives it.
    zip_source_t* source = zip_source_buffer(archive, entry.bytes.data(), entry.bytes.size(), 0);
    if (source == nullptr) {
      zip_discard(archive);
      return false;
    }
    const zip_int64_t index = zip_file_add(archive, entry.name.c_str(), source, ZIP_FL_OVERWRITE);
    if (index < 0) {
      zip_source_free(source);
      zip_discard(archive);
      return false;
    }
    zip_set_file_compression(archive, static_cast<zip_uint64_t>(index),
                             entry.compressed ? ZIP_CM_DEFLATE : ZIP_CM_STORE, 0);
  }
  if (zip_close(archive) != 0) {
    zip_discard(archive);
    return false;
  }
  return true;
}

bool writeFile(const std::filesystem::path& file, std::string_view bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

std::optional<std::string> readFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

namespace {

std::uint16_t getU16(const std::string& s, std::size_t at) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(s[at]) |
                                    (static_cast<unsigned char>(s[at + 1]) << 8));
}
std::uint32_t getU32(const std::string& s, std::size_t at) {
  return getU16(s, at) | (static_cast<std::uint32_t>(getU16(s, at + 2)) << 16);
}
void setU32(std::string& s, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i)
    s[at + static_cast<std::size_t>(i)] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

// Where one entry sits in the archive bytes.
struct EntryPlace {
  std::size_t central = 0;  // its central directory record
  std::size_t local = 0;    // its local header
  std::size_t data = 0;     // its stored data
  std::uint32_t storedSize = 0;
};

std::optional<EntryPlace> findEntry(const std::string& zip, std::string_view name) {
  constexpr std::size_t kEndRecordSize = 22;
  if (zip.size() < kEndRecordSize) return std::nullopt;
  std::size_t end = zip.size() - kEndRecordSize;
  while (getU32(zip, end) != 0x06054b50u) {
    if (end == 0) return std::nullopt;
    --end;
  }
  const std::uint16_t count = getU16(zip, end + 10);
  std::size_t at = getU32(zip, end + 16);
  for (std::uint16_t i = 0; i < count; ++i) {
    if (at + 46 > zip.size() || getU32(zip, at) != 0x02014b50u) return std::nullopt;
    const std::uint16_t nameLength = getU16(zip, at + 28);
    const std::uint16_t extraLength = getU16(zip, at + 30);
    const std::uint16_t commentLength = getU16(zip, at + 32);
    if (zip.compare(at + 46, nameLength, name) == 0 && nameLength == name.size()) {
      EntryPlace place;
      place.central = at;
      place.local = getU32(zip, at + 42);
      place.storedSize = getU32(zip, at + 20);
      if (place.local + 30 > zip.size() || getU32(zip, place.local) != 0x04034b50u)
        return std::nullopt;
      place.data = place.local + 30 + getU16(zip, place.local + 26) + getU16(zip, place.local + 28);
      return place;
    }
    at += 46u + nameLength + extraLength + commentLength;
  }
  return std::nullopt;
}

}  // namespace

bool corruptEntry(const std::filesystem::path& file, std::string_view entryName) {
  auto zip = readFile(file);
  if (!zip) return false;
  const auto place = findEntry(*zip, entryName);
  if (!place || place->storedSize == 0 || place->data >= zip->size()) return false;
  (*zip)[place->data] = static_cast<char>((*zip)[place->data] ^ 0x5A);
  return writeFile(file, *zip);
}

bool truncateEntry(const std::filesystem::path& file, std::string_view entryName,
                   std::uint32_t keep) {
  auto zip = readFile(file);
  if (!zip) return false;
  const auto place = findEntry(*zip, entryName);
  if (!place || keep >= place->storedSize) return false;
  setU32(*zip, place->central + 20, keep);
  setU32(*zip, place->local + 18, keep);
  return writeFile(file, *zip);
}

bool claimSize(const std::filesystem::path& file, std::string_view entryName,
               std::uint32_t unpacked) {
  auto zip = readFile(file);
  if (!zip) return false;
  const auto place = findEntry(*zip, entryName);
  if (!place) return false;
  setU32(*zip, place->central + 24, unpacked);
  setU32(*zip, place->local + 22, unpacked);
  return writeFile(file, *zip);
}

namespace detail {

void putU16(std::string& s, std::uint16_t v) {
  s.push_back(static_cast<char>(v & 0xFF));
  s.push_back(static_cast<char>(v >> 8));
}

void putU32(std::string& s, std::uint32_t v) {
  putU16(s, static_cast<std::uint16_t>(v & 0xFFFF));
  putU16(s, static_cast<std::uint16_t>(v >> 16));
}

std::string bmpHeaders(int width, int height, int bits, std::uint32_t paletteColors,
                       std::uint32_t imageBytes) {
  const std::uint32_t offset = 14 + 40 + paletteColors * 4;
  std::string s = "BM";
  putU32(s, offset + imageBytes);
  putU32(s, 0);
  putU32(s, offset);
  putU32(s, 40);
  putU32(s, static_cast<std::uint32_t>(width));
  putU32(s, static_cast<std::uint32_t>(height));
  putU16(s, 1);
  putU16(s, static_cast<std::uint16_t>(bits));
  putU32(s, 0);  // uncompressed
  putU32(s, imageBytes);
  putU32(s, 2835);
  putU32(s, 2835);
  putU32(s, paletteColors);
  putU32(s, 0);
  return s;
}

}  // namespace detail

std::string bmp24Solid(int width, int height, std::uint32_t rgb) {
  return bmp24(width, height, [rgb](int, int) { return rgb; });
}

}  // namespace quorvel::testsupport
