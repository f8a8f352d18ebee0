#include <gtest/gtest.h>

#include <algorithm>

#include "platform/SystemFacts.h"

using namespace quorvel::platform;

TEST(SystemFacts, TheLastAddressListedIsShownUnlessItIsLoopback) {
  struct Case {
    std::vector<std::string> resolved, interfaces;
    std::string shown;
  };
  const Case cases[] = {
      {{"192.168.1.10", "10.0.0.5"}, {"10.9.9.9"}, "10.0.0.5"},
      {{"192.168.1.10", "127.0.1.1"}, {"10.9.9.9"}, "192.168.1.10"},
      {{"127.0.1.1"}, {"127.0.0.1", "10.9.9.9", "172.16.0.2"}, "10.9.9.9"},
      {{"127.0.1.1"}, {"127.0.0.1"}, "127.0.1.1"},
      {{}, {"10.9.9.9"}, ""},
      {{}, {}, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(shownAddress(c.resolved, c.interfaces), c.shown);
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

  EXPECT_GT(physicalMemoryBytes(), 1024u * 1024u);

  // Empty when the host name does not resolve; otherwise a dotted quad.
  const std::string ip = ipAddress();
  if (!ip.empty()) {
    EXPECT_EQ(std::count(ip.begin(), ip.end(), '.'), 3) << ip;
  }
}
