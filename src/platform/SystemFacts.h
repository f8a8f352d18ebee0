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

// Total physical memory as "524,288 KB": kilobytes rounded down, thousands
// grouped with commas.
std::string physicalMemoryText();
std::string formatMemoryText(std::uint64_t totalBytes);

// The computer's IPv4 address as dotted text: the last one its host name
// resolves to; empty when the look-up fails.
std::string ipAddress();
std::string lastAddress(const std::vector<std::string>& addresses);

}  // namespace quorvel::platform
