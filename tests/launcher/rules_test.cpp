// The launcher's pure rules, as tables.
#include <gtest/gtest.h>

#include <cstring>

#include "device_address.h"
#include "ip_address.h"
#include "shared/browser_lookup.h"

namespace {

TEST(IsValidIPAddress, AcceptsAddressesThatNameOneDevice) {
  for (const char* text : {"10.0.0.1", "1.2.3.4", "126.0.0.1", "128.1.0.1", "192.168.1.1", "223.255.255.254",
                           "100.0.0.255", "100.0.255.0", "01.02.03.04", "1.2.3.0004", "240.0.0.0", "255.0.0.0",
                           "255.255.255.0", "255.255.255.254"}) {
    EXPECT_EQ(IsValidIPAddress(text), 1) << text;
  }
}

TEST(IsValidIPAddress, RefusesEverythingElse) {
  for (const char* text :
       {"0.1.2.3", "00.1.2.3", "127.0.0.1", "127.1.1.1", "0127.0.0.1", "1.0.0.0", "10.0.0.0", "10.255.255.255",
        "126.255.255.255", "128.1.0.0", "128.1.255.255", "191.0.255.255", "192.0.0.0", "192.168.1.0",
        "192.168.1.255", "223.255.255.255", "224.0.0.1", "239.1.1.1", "255.255.255.255", "1.2.3.256",
        "1.2.3.0256", "1.2.3", "1.2.3.4.5", "1.2.3.4.", ".1.2.3", "1..2.3", "1.2.3.-4", "1.2.3.+4", " 1.2.3.4",
        "1.2.3.4 ", "", "1.2.3.4294967297", "1.2.3.99999999999999999999999"}) {
    EXPECT_EQ(IsValidIPAddress(text), 0) << text;
  }
  EXPECT_EQ(IsValidIPAddress(nullptr), 0);
}

std::string Dotted(IPAddr address) {
  unsigned char b[4];
  std::memcpy(b, &address, 4);
  return std::to_string(b[0]) + "." + std::to_string(b[1]) + "." + std::to_string(b[2]) + "." + std::to_string(b[3]);
}

TEST(DeviceAddressFromText, ReadsPartsAsTheOriginalDid) {
  struct Case {
    const char* text;
    const char* address;
  } cases[] = {
      {"10.0.0.1", "10.0.0.1"},   {"192.168.1.20", "192.168.1.20"}, {"10.0.0", "10.0.0.0"},
      {"1.2.3.4.5", "1.2.3.4"},   {"1.2.3.4.", "1.2.3.4"},          {"10.0.0.1,10.0.0.2", "10.0.0.1"},
      {",1.2.3.4", "0.0.0.0"},    {"1.256.0.0", "1.0.1.0"},         {"-1.0.0.0", "255.255.255.255"},
      {"a.b.c.d", "0.0.0.0"},     {"1..2.3", "1.0.2.3"},            {"10x.0.0.1", "10.0.0.1"},
      {" 10. 0.\t0.1", "10.0.0.1"}, {"", "0.0.0.0"},                {"+7.0.0.8", "7.0.0.8"},
  };
  for (const Case& c : cases) EXPECT_EQ(Dotted(DeviceAddressFromText(c.text)), c.address) << c.text;
}

TEST(CutBeforePlaceholder, KeepsEverythingBeforeThePlaceholder) {
  struct Case {
    const char* registered;
    const char* cut;
  } cases[] = {
      {"\"C:\\Program Files\\Browser\\browser.exe\" \"%1\"", "\"C:\\Program Files\\Browser\\browser.exe\" "},
      {"browser -nohome %1", "browser -nohome "},
      {"browser %1 -x \"%1\"", "browser %1 -x "},  // the quoted one is looked for first
      {"browser -url=", "browser -url="},
      {"%1", ""},
      {"", ""},
  };
  for (const Case& c : cases) {
    CString command(c.registered);
    CutBeforePlaceholder(command);
    EXPECT_STREQ(command, c.cut) << c.registered;
    EXPECT_EQ(command.GetLength(), static_cast<int>(std::strlen(c.cut)));
  }
}

}  // namespace
