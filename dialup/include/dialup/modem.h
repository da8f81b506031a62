// Dialling through a Hayes-compatible modem on the line.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "win32/types.h"

namespace dialup {

// What a modem's result line means while dialling: 0 for CONNECT, a RAS
// error for the failures (BUSY 676, NO ANSWER 678, NO CARRIER 679,
// NO DIALTONE 680, ERROR 651, anything unexpected 652), nothing for lines
// that carry no result (blank lines, RING, the echo of `command`).
std::optional<DWORD> DialResult(const std::string& line, const std::string& command);

// Whether a number holds only what a dial string may hold; anything else
// (a CR above all) would let a number smuggle in commands of its own.
bool IsDialableNumber(const std::string& number);

// Sends the init string (answered by OK), then ATDT<number>, and waits for
// the result until deadlineNs. 0 on CONNECT, else a RAS error: 678 when
// nothing answered in time, 631 when a hang-up was requested meanwhile,
// 619 when the line went away.
DWORD DialModem(int lineFd, int stopFd, const std::string& init, const std::string& number,
                std::int64_t deadlineNs);

}  // namespace dialup
