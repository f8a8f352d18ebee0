#pragma once
// Helpers shared by the fuzz targets.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

namespace quorvel::fuzz {

inline std::string_view bytes(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// A file of this process's own under the temporary directory, for readers
// that take a path; rewritten for every input.
inline const std::filesystem::path& scratchFile(const char* name) {
  static const std::filesystem::path file =
      std::filesystem::temp_directory_path() /
      ("quorvel-fuzz-" + std::to_string(getpid()) + "-" + name);
  return file;
}

inline bool writeScratch(const std::filesystem::path& file, std::string_view content) {
  std::FILE* out = std::fopen(file.c_str(), "wb");
  if (out == nullptr) return false;
  const bool ok = std::fwrite(content.data(), 1, content.size(), out) == content.size();
  return std::fclose(out) == 0 && ok;
}

}  // namespace quorvel::fuzz
