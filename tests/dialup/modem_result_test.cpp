#include "dialup/modem.h"

#include <gtest/gtest.h>

#include "dialup/packet_pump.h"
#include "win32/ras.h"

namespace {

TEST(ModemDialResult, MapsResultLinesToRasErrors) {
  struct Case {
    const char* line;
    std::optional<DWORD> result;
  } cases[] = {
      {"CONNECT", 0u},
      {"CONNECT 115200", 0u},
      {"connect 9600/ARQ", 0u},
      {"1", 0u},
      {"BUSY", ERROR_LINE_BUSY},
      {"NO ANSWER", ERROR_NO_ANSWER},
      {"NO CARRIER", ERROR_NO_CARRIER},
      {"3", ERROR_NO_CARRIER},
      {"NO DIALTONE", ERROR_NO_DIALTONE},
      {"NO DIAL TONE", ERROR_NO_DIALTONE},
      {"ERROR", ERROR_FROM_DEVICE},
      {"OK", ERROR_UNRECOGNIZED_RESPONSE},
      {"CONNECTION REFUSED", ERROR_UNRECOGNIZED_RESPONSE},
      {"", std::nullopt},
      {"  ", std::nullopt},
      {"RING", std::nullopt},
      {"ATDT5551234", std::nullopt},  // the modem echoing the command
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(dialup::DialResult(c.line, "ATDT5551234"), c.result);
  }
}

TEST(ModemDialResult, NumbersMayNotCarryCommands) {
  EXPECT_TRUE(dialup::IsDialableNumber("0,555-1234"));
  EXPECT_TRUE(dialup::IsDialableNumber("*70W 555 1234#"));
  EXPECT_FALSE(dialup::IsDialableNumber(""));
  EXPECT_FALSE(dialup::IsDialableNumber("555\rATH"));
  EXPECT_FALSE(dialup::IsDialableNumber("555;ATZ"));
}

std::vector<std::uint8_t> Header(std::uint8_t versionIhl, std::uint16_t total, std::size_t size) {
  std::vector<std::uint8_t> p(size, 0);
  if (size > 3) {
    p[0] = versionIhl;
    p[2] = static_cast<std::uint8_t>(total >> 8);
    p[3] = static_cast<std::uint8_t>(total & 0xFF);
  }
  return p;
}

TEST(PacketFilter, OnlyWholeIPv4PacketsReachTheInterface) {
  EXPECT_TRUE(dialup::IsWholeIPv4Packet(Header(0x45, 20, 20)));
  EXPECT_TRUE(dialup::IsWholeIPv4Packet(Header(0x46, 84, 84)));
  EXPECT_FALSE(dialup::IsWholeIPv4Packet(Header(0x45, 84, 83)));  // cut short by noise
  EXPECT_FALSE(dialup::IsWholeIPv4Packet(Header(0x45, 20, 21)));  // noise glued on
  EXPECT_FALSE(dialup::IsWholeIPv4Packet(Header(0x60, 40, 40)));  // not IPv4
  EXPECT_FALSE(dialup::IsWholeIPv4Packet(Header(0x44, 20, 20)));  // header too short
  EXPECT_FALSE(dialup::IsWholeIPv4Packet(Header(0x4F, 40, 40)));  // header longer than packet
  EXPECT_FALSE(dialup::IsWholeIPv4Packet(Header(0x45, 3, 3)));
}

}  // namespace
