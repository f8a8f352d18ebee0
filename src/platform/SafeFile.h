#pragma once
// Writing a whole file so that a crash, a full disk or a read-only folder
// never leaves it half-written: the bytes go to a temporary file beside it,
// which is flushed to disk and closed, each step checked, and only then
// renamed over the file.
//
// A file that is a symbolic link stays one: the link's target is written (its
// temporary file beside the target), so the file the link names gets the new
// bytes. Temporary files of the same file left by a process that died during
// a save are removed at the next save.
#include <filesystem>
#include <string>
#include <string_view>

namespace quorvel::platform {

struct WriteResult {
  bool ok = false;
  std::string reason;  // the reason when not ok, in the learner's words (systemErrorText)
};

// On failure the file is as it was and the temporary file is gone.
WriteResult writeFileSafely(const std::filesystem::path& file, std::string_view bytes);

// The file a path names after following its symbolic links (at most 40), the
// last of which need not exist yet; errno-style error in `error` (ELOOP) or 0.
std::filesystem::path followLinks(const std::filesystem::path& file, int& error);

// Removes the temporary files "<name>.tmp<pid>" beside `file` whose process
// is gone; how many went.
int removeStaleTemporaries(const std::filesystem::path& file);

}  // namespace quorvel::platform
