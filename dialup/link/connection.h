// One link's connection process: opens the line, dials, brings up the
// interface, moves packets until hang-up or loss of the line, and publishes
// each step in the entry's link record.
#pragma once
#include <string>

#include "dialup/phonebook.h"

namespace dialup {

struct ConnectionOptions {
  Entry entry;
  std::string runtimeDir;
  int readyFd = -1;  // the dialler waits here for the line to be ours
  int stopFd = -1;   // signalfd: a hang-up request
};

// Runs the link to its end; the exit status of the process.
int RunConnection(const ConnectionOptions& options);

}  // namespace dialup
