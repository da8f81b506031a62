// corvane-link: the connection process of one dial-up link. Started by the
// dial-up client (RasDialA, corvane-dial up), already detached from it:
//   corvane-link --ready-fd N [--phonebook FILE] [--number NUMBER] [--] ENTRY
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "connection.h"
#include "dialup/event_wait.h"
#include "dialup/link_record.h"
#include "dialup/modem.h"

namespace {

struct Arguments {
  int readyFd = -1;
  std::string phonebook;
  std::string number;
  bool numberGiven = false;
  std::string entry;
};

bool Parse(int argc, char** argv, Arguments& a) {
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    bool hasValue = i + 1 < argc;
    if (arg == "--ready-fd" && hasValue) {
      a.readyFd = std::atoi(argv[++i]);
    } else if (arg == "--phonebook" && hasValue) {
      a.phonebook = argv[++i];
    } else if (arg == "--number" && hasValue) {
      a.number = argv[++i];
      a.numberGiven = true;
    } else if (arg == "--" && i + 2 == argc && a.entry.empty()) {
      a.entry = argv[++i];
    } else if (a.entry.empty() && !arg.starts_with("--")) {
      a.entry = arg;
    } else {
      return false;
    }
  }
  return !a.entry.empty();
}

void Refuse(int readyFd, unsigned error, const std::string& problem) {
  std::fprintf(stderr, "corvane-link: %s\n", problem.c_str());
  if (readyFd >= 0) {
    std::string line = "error " + std::to_string(error) + "\n";
    (void)!write(readyFd, line.data(), line.size());
  }
}

}  // namespace

int main(int argc, char** argv) {
  int stopFd = dialup::OpenStopSignals();
  Arguments args;
  if (!Parse(argc, argv, args)) {
    std::fprintf(stderr,
                 "usage: corvane-link --ready-fd N [--phonebook FILE] [--number NUMBER] [--] ENTRY\n"
                 "corvane-link is started by the dial-up client; use corvane-dial up ENTRY.\n");
    return 2;
  }
  auto books = args.phonebook.empty() ? dialup::DefaultPhonebooks()
                                      : std::vector<std::string>{args.phonebook};
  dialup::Lookup found = dialup::FindEntry(args.entry, books);
  if (!found.entry) {
    Refuse(args.readyFd, found.error, found.problem);
    return 1;
  }
  if (args.numberGiven) found.entry->phone = args.number;
  if (!found.entry->phone.empty() && !dialup::IsDialableNumber(found.entry->phone)) {
    Refuse(args.readyFd, 87, "the phone number holds characters a modem cannot dial");
    return 1;
  }
  std::string dir = dialup::RuntimeDirectory();
  if (dir.empty()) {
    Refuse(args.readyFd, 633, "no private runtime directory for link records");
    return 1;
  }
  return dialup::RunConnection({*found.entry, dir, args.readyFd, stopFd});
}
