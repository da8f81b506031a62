#pragma once

// 1 when `text` is a dotted IPv4 address that can name one device: four runs
// of decimal digits, each 0 to 255 (leading zeros are decimal), first part
// neither 0 nor 127, not 255.255.255.255, not class D, and in classes A to C a
// host part neither all zeros nor all ones. Else 0.
int IsValidIPAddress(const char* text);
