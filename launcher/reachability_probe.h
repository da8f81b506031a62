#pragma once

// 1 when the device at `addressText` answered one ICMP echo request within
// 1000 ms, else 0. Shows nothing.
int PingDevice(const char* addressText);
