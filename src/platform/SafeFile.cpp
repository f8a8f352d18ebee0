#include "platform/SafeFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace quorvel::platform {

WriteResult writeFileSafely(const std::filesystem::path& file, std::string_view bytes) {
  WriteResult result;
  const auto fail = [&](int error) {
    result.reason = std::strerror(error);
    return result;
  };
  const std::filesystem::path temp = file.string() + ".tmp" + std::to_string(getpid());
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) return fail(errno);

  int error = 0;
  for (std::size_t done = 0; done < bytes.size();) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      error = n < 0 ? errno : EIO;
      break;
    }
    done += static_cast<std::size_t>(n);
  }
  // A full disk may show only here, when the data reaches the disk or the
  // file is closed; either way the old file must stay.
  if (error == 0 && ::fsync(fd) != 0) error = errno;
  if (::close(fd) != 0 && error == 0) error = errno;
  if (error == 0 && std::rename(temp.c_str(), file.c_str()) != 0) error = errno;
  if (error != 0) {
    ::unlink(temp.c_str());
    return fail(error);
  }
  result.ok = true;
  return result;
}

}  // namespace quorvel::platform
