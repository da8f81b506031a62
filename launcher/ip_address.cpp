#include "ip_address.h"

namespace {

// Parses exactly four dot-separated runs of digits. A value above 255 is kept
// as 256, so any number of digits is safe.
bool ParseFourParts(const char* text, int parts[4]) {
  const char* at = text ? text : "";
  for (int i = 0; i < 4; ++i) {
    if (*at < '0' || *at > '9') return false;
    int value = 0;
    for (; *at >= '0' && *at <= '9'; ++at) {
      value = value * 10 + (*at - '0');
      if (value > 255) value = 256;
    }
    parts[i] = value;
    if (i < 3 && *at++ != '.') return false;
  }
  return *at == '\0';
}

bool HostIs(const int parts[4], int firstHostPart, int value) {
  for (int i = firstHostPart; i < 4; ++i) {
    if (parts[i] != value) return false;
  }
  return true;
}

}  // namespace

int IsValidIPAddress(const char* text) {
  int parts[4];
  if (!ParseFourParts(text, parts)) return 0;
  for (int part : parts) {
    if (part > 255) return 0;
  }
  if (parts[0] == 0 || parts[0] == 127) return 0;
  int sum = parts[0] + parts[1] + parts[2] + parts[3];
  if (sum <= 0 || sum >= 1020) return 0;

  int firstHostPart;
  if (parts[0] <= 126) firstHostPart = 1;        // class A
  else if (parts[0] <= 191) firstHostPart = 2;   // class B
  else if (parts[0] <= 223) firstHostPart = 3;   // class C
  else if (parts[0] <= 239) return 0;            // class D, multicast
  else return 1;                                 // class E: no host test
  if (HostIs(parts, firstHostPart, 0) || HostIs(parts, firstHostPart, 255)) return 0;
  return 1;
}
