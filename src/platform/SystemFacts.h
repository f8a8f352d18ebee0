#pragma once
// Facts about the computer shown in the About window: the operating system,
// the physical memory and the computer's address. Texts are UTF-8. The
// formatting is kept apart from the system calls so it can be tested.
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quorvel::platform {

// "不详": what the OS name reads when it cannot be found.
inline constexpr const char* kUnknownOsName = "\xE4\xB8\x8D\xE8\xAF\xA6";

// The operating system's name and version, two lines separated by CR:
// "<name> \r<major>.<minor>".
std::string osDescription();
std::string formatOsDescription(std::string_view osName, int major, int minor);
// PRETTY_NAME of an os-release file (quotes removed), else NAME, else "不详".
std::string osNameFromOsRelease(std::string_view osRelease);
// Major and minor of a kernel release such as "6.1.0-18-amd64" (0 where absent).
std::pair<int, int> kernelVersion(std::string_view release);

// Total physical memory in bytes (0 when the system does not say). The
// window groups its kilobytes the locale's way.
std::uint64_t physicalMemoryBytes();

// The computer's IPv4 address as dotted text: the last one its host name
// resolves to; empty when the look-up fails.
std::string ipAddress();
// Which address is shown: the last one the host name resolves to, unless it
// is a loopback address (127.x.x.x, as a host name often resolves to on
// Linux); then the first address that is not, among the resolved ones and
// then the network interfaces'; the loopback one when there is no other.
// Nothing resolved (a failed look-up) shows nothing.
std::string shownAddress(const std::vector<std::string>& resolved,
                         const std::vector<std::string>& interfaces);
bool isLoopback(std::string_view address);

}  // namespace quorvel::platform
