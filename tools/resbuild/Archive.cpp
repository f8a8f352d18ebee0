#include "Archive.h"

#include <zip.h>

#include <ctime>
#include <stdexcept>
#include <system_error>

namespace resbuild {
namespace {

// 2026-01-01 12:00 local time: a fixed stamp keeps the archive reproducible.
std::time_t fixedStamp() {
  std::tm t{};
  t.tm_year = 2026 - 1900;
  t.tm_mon = 0;
  t.tm_mday = 1;
  t.tm_hour = 12;
  t.tm_isdst = -1;
  return std::mktime(&t);
}

}  // namespace

void Archive::add(const std::string& type, const std::string& name, std::string bytes) {
  entries_[type + "/" + name] = std::move(bytes);
}

bool Archive::has(const std::string& type, const std::string& name) const {
  return entries_.count(type + "/" + name) != 0;
}

void Archive::write(const std::filesystem::path& file) const {
  std::filesystem::path temp = file;
  temp += ".part";
  std::error_code ignored;
  std::filesystem::remove(temp, ignored);

  int error = 0;
  zip_t* zip = zip_open(temp.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
  if (!zip)
    throw std::runtime_error(temp.string() + ": cannot create the archive (libzip error " +
                             std::to_string(error) + ")");
  auto fail = [&](const std::string& what) {
    std::string message = temp.string() + ": " + what + ": " + zip_strerror(zip);
    zip_discard(zip);
    std::filesystem::remove(temp, ignored);
    throw std::runtime_error(message);
  };
  const std::time_t stamp = fixedStamp();
  for (const auto& [name, bytes] : entries_) {
    zip_source_t* source = zip_source_buffer(zip, bytes.data(), bytes.size(), 0);
    if (!source) fail("cannot add " + name);
    zip_int64_t index = zip_file_add(zip, name.c_str(), source, ZIP_FL_ENC_UTF_8);
    if (index < 0) {
      zip_source_free(source);
      fail("cannot add " + name);
    }
    // Stored, not deflated: the tutor reads most of the library before its
    // window shows, and copying is faster than inflating; the package that
    // carries the library compresses it anyway.
    if (zip_set_file_compression(zip, static_cast<zip_uint64_t>(index), ZIP_CM_STORE, 0) < 0)
      fail("cannot store " + name);
    if (zip_file_set_mtime(zip, static_cast<zip_uint64_t>(index), stamp, 0) < 0)
      fail("cannot stamp " + name);
  }
  if (zip_close(zip) < 0) fail("cannot write the archive");
  std::filesystem::rename(temp, file);
}

}  // namespace resbuild
