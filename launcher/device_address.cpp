#include "device_address.h"

#include <cstring>

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

// The signed decimal number at `at`, in 32 bits with wrap-around.
std::uint32_t NumberAt(const char* at) {
  while (IsBlank(*at)) ++at;
  bool negative = false;
  if (*at == '+' || *at == '-') negative = *at++ == '-';
  std::uint32_t value = 0;
  for (; *at >= '0' && *at <= '9'; ++at) value = value * 10u + static_cast<std::uint32_t>(*at - '0');
  return negative ? 0u - value : value;
}

}  // namespace

IPAddr DeviceAddressFromText(const char* text) {
  std::uint32_t total = 0;
  std::uint32_t weight = 1;
  const char* at = text ? text : "";
  while (*at != '\0' && *at != ',') {
    total += NumberAt(at) * weight;
    while (*at != '\0' && *at != '.' && *at != ',') ++at;
    if (*at != '.') break;
    weight *= 256u;
    if (*++at == '\0') break;
  }
  const unsigned char bytes[4] = {static_cast<unsigned char>(total), static_cast<unsigned char>(total >> 8),
                                  static_cast<unsigned char>(total >> 16), static_cast<unsigned char>(total >> 24)};
  IPAddr destination;
  std::memcpy(&destination, bytes, sizeof destination);
  return destination;
}
