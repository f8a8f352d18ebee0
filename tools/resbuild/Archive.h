#pragma once
// Writes the resource library: a zip archive of "TYPE/NAME" entries.
#include <filesystem>
#include <map>
#include <string>

namespace resbuild {

class Archive {
 public:
  // Adds or replaces an entry; names are kept as given.
  void add(const std::string& type, const std::string& name, std::string bytes);
  bool has(const std::string& type, const std::string& name) const;
  std::size_t size() const { return entries_.size(); }
  // Writes the archive (through a temporary file, then a rename, so a failed
  // build never leaves half a library). Entries are written in name order with
  // a fixed time stamp, so the same sources give the same bytes.
  void write(const std::filesystem::path& file) const;

 private:
  std::map<std::string, std::string> entries_;
};

}  // namespace resbuild
