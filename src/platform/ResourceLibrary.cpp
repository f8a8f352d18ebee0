#include "platform/ResourceLibrary.h"

#include <zip.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <system_error>

namespace quorvel::platform {
namespace {

struct ArchiveCloser {
  void operator()(zip_t* archive) const {
    zip_discard(archive);
  }  // read-only: nothing to write back
};
struct EntryCloser {
  void operator()(zip_file_t* entry) const { zip_fclose(entry); }
};
using Archive = std::unique_ptr<zip_t, ArchiveCloser>;
using Entry = std::unique_ptr<zip_file_t, EntryCloser>;

Archive openArchive(const std::filesystem::path& file) {
  if (file.empty()) return nullptr;
  int error = 0;
  return Archive(zip_open(file.c_str(), ZIP_RDONLY, &error));
}

bool isRegularFile(const std::filesystem::path& p) {
  std::error_code ec;
  return std::filesystem::is_regular_file(p, ec);
}

// Entries larger than this are not a resource of ours but a damaged size field.
constexpr zip_uint64_t kMaxEntrySize = 256u * 1024u * 1024u;
// Reading goes in chunks; no more than this is set aside before any arrives.
constexpr std::size_t kChunk = 64 * 1024;
constexpr std::size_t kFirstReserve = 1024 * 1024;

}  // namespace

std::vector<std::filesystem::path> dataSearchDirs(const std::filesystem::path& programDir) {
  std::vector<std::filesystem::path> dirs;
  // A relative directory would be looked up from the working directory,
  // where a stray file must never be taken for the program's data.
  if (programDir.is_absolute()) {
    dirs.push_back(programDir);
    dirs.push_back((programDir / ".." / "share" / "quorvel").lexically_normal());
  }
  const char* env = std::getenv("XDG_DATA_DIRS");
  std::string_view list = (env != nullptr && *env != '\0') ? env : "/usr/local/share:/usr/share";
  while (true) {
    const auto colon = list.find(':');
    const std::filesystem::path entry(std::string(list.substr(0, colon)));
    if (entry.is_absolute()) dirs.push_back(entry / "quorvel");
    if (colon == std::string_view::npos) break;
    list.remove_prefix(colon + 1);
  }
  return dirs;
}

std::filesystem::path findDataFile(const std::filesystem::path& programDir,
                                   std::string_view fileName) {
  for (const auto& dir : dataSearchDirs(programDir)) {
    auto candidate = dir / std::string(fileName);
    if (isRegularFile(candidate)) return candidate;
  }
  return {};
}

std::filesystem::path findDataDirectory(const std::filesystem::path& programDir,
                                        std::string_view dirName) {
  for (const auto& dir : dataSearchDirs(programDir)) {
    auto candidate = dir / std::string(dirName);
    std::error_code ec;
    if (std::filesystem::is_directory(candidate, ec)) return candidate;
  }
  return {};
}

std::filesystem::path programDirectory() {
  std::error_code ec;
  const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return {};
  return exe.parent_path();
}

ResourceLibrary ResourceLibrary::locate(const std::filesystem::path& programDir) {
  auto file = findDataFile(programDir, kResourceLibraryName);
  if (file.empty()) return ResourceLibrary();
  return ResourceLibrary(std::move(file));
}

namespace {

ResourceData readEntry(const Archive& archive, std::string_view type, std::string_view name) {
  ResourceData result;
  if (!archive) {
    result.status = ResourceStatus::LibraryMissing;
    return result;
  }

  const std::string entryName = std::string(type) + "/" + std::string(name);
  const zip_int64_t index = zip_name_locate(archive.get(), entryName.c_str(), ZIP_FL_NOCASE);
  if (index < 0) {
    result.status = ResourceStatus::ResourceMissing;
    return result;
  }

  result.status = ResourceStatus::ReadError;
  zip_stat_t st;
  zip_stat_init(&st);
  if (zip_stat_index(archive.get(), static_cast<zip_uint64_t>(index), 0, &st) != 0 ||
      (st.valid & ZIP_STAT_SIZE) == 0 || st.size > kMaxEntrySize) {
    return result;
  }
  const Entry entry(zip_fopen_index(archive.get(), static_cast<zip_uint64_t>(index), 0));
  if (!entry) return result;

  // The stated size is only a header's word: the bytes grow with what the
  // entry really gives, so a damaged header claiming hundreds of megabytes
  // costs nothing until they arrive.
  const std::size_t stated = static_cast<std::size_t>(st.size);
  std::string bytes;
  bytes.reserve(std::min<std::size_t>(stated, kFirstReserve));
  char chunk[kChunk];
  // Read until the entry reports its end: libzip checks the CRC only then,
  // so a damaged entry is caught even when its size looks right.
  while (true) {
    const zip_int64_t got = zip_fread(entry.get(), chunk, sizeof chunk);
    if (got < 0) return result;
    if (got == 0) break;
    if (bytes.size() + static_cast<std::size_t>(got) > stated) return result;  // longer than stated
    bytes.append(chunk, static_cast<std::size_t>(got));
  }
  if (bytes.size() != stated) return result;

  result.status = ResourceStatus::Ok;
  result.bytes = std::move(bytes);
  return result;
}

}  // namespace

bool ResourceLibrary::available() const {
  if (const Batch* batch = activeBatch()) return batch->available();
  return openArchive(file_) != nullptr;
}

ResourceData ResourceLibrary::read(std::string_view type, std::string_view name) const {
  if (const Batch* batch = activeBatch()) return batch->read(type, name);
  return readEntry(openArchive(file_), type, name);
}

struct ResourceLibrary::Batch::Open {
  Archive archive;
};

ResourceLibrary::Batch::Batch(const ResourceLibrary& library)
    : outer_(library.activeBatch()), shared_(library.shared_) {
  if (outer_) return;
  open_ = std::make_unique<Open>(Open{openArchive(library.file())});
  if (shared_) shared_->active = this;
}

ResourceLibrary::Batch::~Batch() {
  if (shared_ && shared_->active == this) shared_->active = nullptr;
}

bool ResourceLibrary::Batch::available() const {
  if (outer_) return outer_->available();
  return open_->archive != nullptr;
}

ResourceData ResourceLibrary::Batch::read(std::string_view type, std::string_view name) const {
  if (outer_) return outer_->read(type, name);
  return readEntry(open_->archive, type, name);
}

}  // namespace quorvel::platform
