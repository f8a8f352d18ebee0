#pragma once
// Writing a whole file so that a crash, a full disk or a read-only folder
// never leaves it half-written: the bytes go to a temporary file beside it,
// which is flushed to disk and closed, each step checked, and only then
// renamed over the file.
#include <filesystem>
#include <string>
#include <string_view>

namespace quorvel::platform {

struct WriteResult {
  bool ok = false;
  std::string reason;  // the system's reason when not ok
};

// On failure the file is as it was and the temporary file is gone.
WriteResult writeFileSafely(const std::filesystem::path& file, std::string_view bytes);

}  // namespace quorvel::platform
