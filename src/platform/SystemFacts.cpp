#include "platform/SystemFacts.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/sysinfo.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <optional>

namespace quorvel::platform {
namespace {

// A shell-style value of os-release: quoted with " or ', with backslash escapes.
std::string osReleaseValue(std::string_view raw) {
  if (raw.size() >= 2 && (raw.front() == '"' || raw.front() == '\'') && raw.back() == raw.front()) {
    raw = raw.substr(1, raw.size() - 2);
  }
  std::string out;
  for (std::size_t i = 0; i < raw.size(); ++i) {
    if (raw[i] == '\\' && i + 1 < raw.size()) ++i;
    out += raw[i];
  }
  return out;
}

std::optional<std::string> readWholeFile(const char* path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

int leadingNumber(std::string_view s) {
  int n = 0;
  for (char c : s) {
    if (c < '0' || c > '9') break;
    if (n > 100000) break;  // a silly release string must not overflow
    n = n * 10 + (c - '0');
  }
  return n;
}

// The IPv4 addresses of the network interfaces that are up, in their order.
std::vector<std::string> interfaceAddresses() {
  std::vector<std::string> addresses;
  ifaddrs* list = nullptr;
  if (getifaddrs(&list) != 0) return addresses;
  for (const ifaddrs* a = list; a != nullptr; a = a->ifa_next) {
    if (a->ifa_addr == nullptr || a->ifa_addr->sa_family != AF_INET || !(a->ifa_flags & IFF_UP))
      continue;
    char text[INET_ADDRSTRLEN] = {};
    const auto* in = reinterpret_cast<const sockaddr_in*>(a->ifa_addr);
    if (inet_ntop(AF_INET, &in->sin_addr, text, sizeof text) != nullptr)
      addresses.emplace_back(text);
  }
  freeifaddrs(list);
  return addresses;
}

}  // namespace

std::string formatOsDescription(std::string_view osName, int major, int minor) {
  return std::string(osName) + " \r" + std::to_string(major) + "." + std::to_string(minor);
}

std::string osNameFromOsRelease(std::string_view osRelease) {
  std::string pretty, name;
  std::size_t pos = 0;
  while (pos < osRelease.size()) {
    std::size_t end = osRelease.find('\n', pos);
    if (end == std::string_view::npos) end = osRelease.size();
    const std::string_view line = osRelease.substr(pos, end - pos);
    pos = end + 1;
    if (line.substr(0, 12) == "PRETTY_NAME=")
      pretty = osReleaseValue(line.substr(12));
    else if (line.substr(0, 5) == "NAME=")
      name = osReleaseValue(line.substr(5));
  }
  if (!pretty.empty()) return pretty;
  if (!name.empty()) return name;
  return kUnknownOsName;
}

std::pair<int, int> kernelVersion(std::string_view release) {
  const int major = leadingNumber(release);
  const auto dot = release.find('.');
  const int minor = dot == std::string_view::npos ? 0 : leadingNumber(release.substr(dot + 1));
  return {major, minor};
}

std::string osDescription() {
  auto osRelease = readWholeFile("/etc/os-release");
  if (!osRelease) osRelease = readWholeFile("/usr/lib/os-release");
  const std::string name =
      osRelease ? osNameFromOsRelease(*osRelease) : std::string(kUnknownOsName);
  utsname uts{};
  const auto [major, minor] =
      uname(&uts) == 0 ? kernelVersion(uts.release) : std::pair<int, int>{0, 0};
  return formatOsDescription(name, major, minor);
}

std::uint64_t physicalMemoryBytes() {
  struct sysinfo info {};
  if (sysinfo(&info) != 0) return 0;
  return static_cast<std::uint64_t>(info.totalram) * info.mem_unit;
}

bool isLoopback(std::string_view address) { return address.substr(0, 4) == "127."; }

std::string shownAddress(const std::vector<std::string>& resolved,
                         const std::vector<std::string>& interfaces) {
  if (resolved.empty()) return {};  // a failed look-up shows no address
  if (!isLoopback(resolved.back())) return resolved.back();
  for (const auto* list : {&resolved, &interfaces})
    for (const std::string& address : *list)
      if (!isLoopback(address)) return address;
  return resolved.back();
}

std::string ipAddress() {
  char host[256] = {};
  if (gethostname(host, sizeof host - 1) != 0) return {};
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;  // one entry per address, not one per socket type
  addrinfo* list = nullptr;
  if (getaddrinfo(host, nullptr, &hints, &list) != 0) return {};
  std::vector<std::string> addresses;
  for (const addrinfo* a = list; a != nullptr; a = a->ai_next) {
    if (a->ai_family != AF_INET || a->ai_addr == nullptr) continue;
    char text[INET_ADDRSTRLEN] = {};
    const auto* in = reinterpret_cast<const sockaddr_in*>(a->ai_addr);
    if (inet_ntop(AF_INET, &in->sin_addr, text, sizeof text) == nullptr) continue;
    if (std::find(addresses.begin(), addresses.end(), text) == addresses.end())
      addresses.emplace_back(text);
  }
  freeaddrinfo(list);
  return shownAddress(addresses, interfaceAddresses());
}

}  // namespace quorvel::platform
