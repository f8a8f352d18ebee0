#include <gtest/gtest.h>

#include <algorithm>

#include "platform/SystemFacts.h"

using namespace quorvel::platform;

TEST(SystemFacts, MemoryIsShownInKilobytesGroupedByThousands) {
  EXPECT_EQ(formatMemoryText(536870912ull), "524,288 KB");
  EXPECT_EQ(formatMemoryText(0), "0 KB");
  EXPECT_EQ(formatMemoryText(1023), "0 KB");  // rounded down
  EXPECT_EQ(formatMemoryText(1024 * 999), "999 KB");
  EXPECT_EQ(formatMemoryText(1024 * 1000), "1,000 KB");
  EXPECT_EQ(formatMemoryText(17179869184ull), "16,777,216 KB");
  EXPECT_EQ(formatMemoryText(UINT64_MAX), "18,014,398,509,481,983 KB");
}

TEST(SystemFacts, TheLastAddressListedIsShown) {
  EXPECT_EQ(lastAddress({"192.168.1.10", "10.0.0.5"}), "10.0.0.5");
  EXPECT_EQ(lastAddress({"127.0.1.1"}), "127.0.1.1");
  EXPECT_EQ(lastAddress({}), "");
}

TEST(SystemFacts, OsDescriptionNamesTheSystemAndItsVersionOnTwoLines) {
  EXPECT_EQ(formatOsDescription("Debian GNU/Linux 12 (bookworm)", 6, 1),
            "Debian GNU/Linux 12 (bookworm) \r6.1");
  EXPECT_EQ(
      osNameFromOsRelease(
          "NAME=\"Debian GNU/Linux\"\nPRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\nID=debian\n"),
      "Debian GNU/Linux 12 (bookworm)");
  EXPECT_EQ(osNameFromOsRelease("ID=x\nNAME='Some \\\"OS\\\"'\n"), "Some \"OS\"");
  EXPECT_EQ(osNameFromOsRelease("PRETTY_NAME=Plain\n"), "Plain");
  EXPECT_EQ(osNameFromOsRelease("ID=x\n"), kUnknownOsName);
  EXPECT_EQ(osNameFromOsRelease(""), kUnknownOsName);
  EXPECT_EQ(kernelVersion("6.1.0-18-amd64"), std::make_pair(6, 1));
  EXPECT_EQ(kernelVersion("5.15"), std::make_pair(5, 15));
  EXPECT_EQ(kernelVersion("7"), std::make_pair(7, 0));
  EXPECT_EQ(kernelVersion(""), std::make_pair(0, 0));
}

TEST(SystemFacts, LiveFactsHaveTheirShape) {
  const std::string os = osDescription();
  const auto cr = os.find(" \r");
  ASSERT_NE(cr, std::string::npos);
  EXPECT_GT(cr, 0u);
  EXPECT_NE(os.find('.', cr), std::string::npos);

  const std::string memory = physicalMemoryText();
  ASSERT_GT(memory.size(), 3u);
  EXPECT_EQ(memory.substr(memory.size() - 3), " KB");
  EXPECT_NE(memory, "0 KB");

  // Empty when the host name does not resolve; otherwise a dotted quad.
  const std::string ip = ipAddress();
  if (!ip.empty()) {
    EXPECT_EQ(std::count(ip.begin(), ip.end(), '.'), 3) << ip;
  }
}
