#pragma once
// The resource library deRizizoz.dll: a zip archive of data entries named
// "TYPE/NAME" (chardata/base, RCDATA/root1, TIPDATA/intro, JPEG/Bgjpg,
// MIDI/music1). Opening it never runs code. It is opened and closed around
// every read, or around a batch of reads (opening the archive reads its whole
// directory, far dearer than one entry), and never held open in between, so a
// library replaced on disk is seen at the next read or batch.
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel::platform {

inline constexpr const char* kResourceLibraryName = "deRizizoz.dll";

enum class ResourceStatus {
  Ok,
  LibraryMissing,   // the library file cannot be found or opened
  ResourceMissing,  // the library opened but holds no such entry
  ReadError,        // the entry exists but could not be read completely
};

struct ResourceData {
  ResourceStatus status = ResourceStatus::LibraryMissing;
  std::string bytes;  // the whole entry when status is Ok
  bool ok() const { return status == ResourceStatus::Ok; }
};

// Where installed data is looked for, in order: the program's own directory,
// ../share/quorvel beside it, then each $XDG_DATA_DIRS entry + /quorvel.
// Never the working directory.
std::vector<std::filesystem::path> dataSearchDirs(const std::filesystem::path& programDir);
// The first existing file of that name in dataSearchDirs, or empty.
std::filesystem::path findDataFile(const std::filesystem::path& programDir,
                                   std::string_view fileName);
// The first existing directory of that name in dataSearchDirs, or empty.
std::filesystem::path findDataDirectory(const std::filesystem::path& programDir,
                                        std::string_view dirName);
// The directory of the running executable (/proc/self/exe).
std::filesystem::path programDirectory();

class ResourceLibrary {
 public:
  ResourceLibrary() = default;  // no library: every read is LibraryMissing
  explicit ResourceLibrary(std::filesystem::path file) : file_(std::move(file)) {}
  // The library as found by the search order, or an empty one.
  static ResourceLibrary locate(const std::filesystem::path& programDir);

  const std::filesystem::path& file() const { return file_; }
  // Can the library be opened right now?
  bool available() const;
  // type: "chardata", "TIPDATA", "JPEG", "MIDI", "RCDATA" (numeric type 10).
  // Names match without regard to case.
  // While a batch of this library or of a copy of it is in force, reads and
  // available() go through that batch's open.
  ResourceData read(std::string_view type, std::string_view name) const;

  class Batch;

 private:
  // Which batch is in force, shared by the copies of one library, so the
  // windows built during start-up read through the start-up's batch.
  struct Shared {
    const Batch* active = nullptr;
  };
  const Batch* activeBatch() const { return shared_ ? shared_->active : nullptr; }

  std::filesystem::path file_;
  std::shared_ptr<Shared> shared_ = std::make_shared<Shared>();
};

// Many reads from one open of the library, closed when the batch ends. Keep a
// batch for one task (a set-up, a window's pictures, the start-up), not
// between tasks. A batch begun while another of the same library is in force
// reads through that one. Batches belong to the interface thread.
class ResourceLibrary::Batch {
 public:
  explicit Batch(const ResourceLibrary& library);
  ~Batch();
  Batch(const Batch&) = delete;
  Batch& operator=(const Batch&) = delete;

  // Did the library open?
  bool available() const;
  // As ResourceLibrary::read, from the library as it was when the batch began.
  ResourceData read(std::string_view type, std::string_view name) const;

 private:
  struct Open;
  std::unique_ptr<Open> open_;      // null when reading through an outer batch
  const Batch* outer_ = nullptr;    // the batch in force when this one began
  std::shared_ptr<Shared> shared_;  // where this batch is marked in force
};

}  // namespace quorvel::platform
