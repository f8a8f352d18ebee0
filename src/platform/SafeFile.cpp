#include "platform/SafeFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "platform/SystemError.h"

namespace quorvel::platform {

namespace {
constexpr const char* kTempMark = ".tmp";
}  // namespace

std::filesystem::path followLinks(const std::filesystem::path& file, int& error) {
  error = 0;
  std::filesystem::path target = file;
  for (int hops = 0; hops <= 40; ++hops) {
    struct stat st {};
    if (::lstat(target.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return target;
    std::error_code ec;
    const std::filesystem::path link = std::filesystem::read_symlink(target, ec);
    if (ec) {
      error = ec.value();
      return target;
    }
    target = link.is_absolute() ? link : target.parent_path() / link;
  }
  error = ELOOP;
  return target;
}

int removeStaleTemporaries(const std::filesystem::path& file) {
  const std::string prefix = file.filename().string() + kTempMark;
  const std::filesystem::path dir = file.has_parent_path() ? file.parent_path() : ".";
  DIR* d = ::opendir(dir.c_str());
  if (d == nullptr) return 0;
  int removed = 0;
  while (const dirent* entry = ::readdir(d)) {
    const std::string name = entry->d_name;
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) continue;
    const std::string digits = name.substr(prefix.size());
    if (digits.find_first_not_of("0123456789") != std::string::npos || digits.size() > 9) continue;
    const long pid = std::strtol(digits.c_str(), nullptr, 10);
    if (pid <= 0 || pid == ::getpid()) continue;
    // Only a process that is gone: a live one may be saving right now.
    if (::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH) continue;
    if (::unlink((dir / name).c_str()) == 0) ++removed;
  }
  ::closedir(d);
  return removed;
}

WriteResult writeFileSafely(const std::filesystem::path& path, std::string_view bytes) {
  WriteResult result;
  const auto fail = [&](int error) {
    result.reason = systemErrorText(error);
    return result;
  };
  int linkError = 0;
  const std::filesystem::path file = followLinks(path, linkError);
  if (linkError != 0) return fail(linkError);
  removeStaleTemporaries(file);
  const std::filesystem::path temp = file.string() + kTempMark + std::to_string(getpid());
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
