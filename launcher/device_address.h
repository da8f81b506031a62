#pragma once
#include "win32/icmp.h"

// The probe's destination from the DevIP text, read part by part as the
// original did: each part a signed decimal number (blanks skipped, no digits
// is 0) weighted 1, 256, 65536, 2^24 with 32-bit wrap-around; the first ','
// ends the text; parts after the fourth add nothing. The first part is the
// first byte in memory (network byte order).
IPAddr DeviceAddressFromText(const char* text);
