// Waiting in the connection process: for the line, until a deadline, and
// always also for a hang-up request (SIGTERM, SIGINT, SIGHUP on a signalfd).
#pragma once
#include <cstdint>

namespace dialup {

enum class WaitResult { Ready, Stopped, TimedOut, Failed };

// Blocks SIGTERM, SIGINT and SIGHUP and returns a signalfd for them.
int OpenStopSignals();

// Waits until `fd` is readable, the stop signal arrives or `deadlineNs`
// (CLOCK_MONOTONIC) passes; a deadline of 0 waits without limit.
WaitResult WaitReadable(int fd, int stopFd, std::int64_t deadlineNs);

// True when a stop signal is pending on stopFd (consumes nothing).
bool StopRequested(int stopFd);

}  // namespace dialup
