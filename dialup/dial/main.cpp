// corvane-dial: see and control dial-up links from a shell.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "dialup/link_client.h"
#include "dialup/link_record.h"
#include "dialup/phonebook.h"
#include "dialup/ras_text.h"
#include "win32/ras.h"

namespace {

constexpr const char* kUsage =
    "usage: corvane-dial status [ENTRY]   show links (all phonebook entries, or one)\n"
    "       corvane-dial up ENTRY         dial ENTRY and wait until it is up or fails\n"
    "       corvane-dial hangup ENTRY     end ENTRY's link and wait until it is down\n"
    "       corvane-dial --help\n"
    "\n"
    "Entries come from $XDG_CONFIG_HOME/corvane/phonebook.ini (default ~/.config), then\n"
    "/etc/corvane/phonebook.ini. A link stays up after the program that dialled it ends.\n";

std::string Describe(const std::string& dir, const std::string& entry) {
  auto r = dir.empty() ? std::nullopt : dialup::ReadRecord(dir, entry);
  if (!r) return "down";
  bool alive = dialup::ConnectionProcessAlive(dir, entry);
  if (!alive && !dialup::IsFinished(*r)) return "down (the connection process ended)";
  if (dialup::IsFinished(*r) || !alive) {
    return "down (last attempt: " + dialup::ErrorText(r->error) + ", error " +
           std::to_string(r->error) + ")";
  }
  std::string text = dialup::StateName(r->state);
  if (r->state == RASCS_Connected) {
    text += " on " + r->interface + " " + r->local + " -> " + r->remote;
  }
  return text + ", " + r->deviceType + " " + r->device + ", pid " + std::to_string(r->pid);
}

int Status(const std::vector<std::string>& args) {
  std::string dir = dialup::RuntimeDirectory();
  if (args.size() == 1) {
    auto r = dir.empty() ? std::nullopt : dialup::ReadRecord(dir, args[0]);
    std::printf("%s: %s\n", args[0].c_str(), Describe(dir, args[0]).c_str());
    bool up = r && r->state == RASCS_Connected && !dialup::IsFinished(*r) &&
              dialup::ConnectionProcessAlive(dir, args[0]);
    return up ? 0 : 1;
  }
  auto names = dialup::EntryNames(dialup::DefaultPhonebooks());
  // Links whose entry has since left the phonebook still show.
  if (!dir.empty()) {
    for (const auto& r : dialup::ReadAllRecords(dir)) {
      bool listed = false;
      for (const auto& n : names) listed = listed || dialup::SameEntryName(n, r.entry);
      if (!listed && dialup::ConnectionProcessAlive(dir, r.entry)) names.push_back(r.entry);
    }
  }
  if (names.empty()) std::printf("no phonebook entries\n");
  for (const auto& n : names) std::printf("%s: %s\n", n.c_str(), Describe(dir, n).c_str());
  return 0;
}

int Up(const std::string& entry) {
  dialup::LinkClient& client = dialup::TheLinkClient();
  dialup::LinkHandle handle = 0;
  DWORD error = client.Dial({entry, "", ""}, &handle);
  if (handle == 0) {
    std::fprintf(stderr, "corvane-dial: %s: %s (error %u)\n", entry.c_str(),
                 dialup::ErrorText(error).c_str(), static_cast<unsigned>(error));
    return 1;
  }
  DWORD shown = ~0u;
  for (;;) {
    dialup::LinkStatus s;
    client.Status(handle, &s, 200);
    if (s.error != 0 && s.error != PENDING) {
      std::fprintf(stderr, "corvane-dial: %s: %s (error %u)\n", entry.c_str(),
                   dialup::ErrorText(s.error).c_str(), static_cast<unsigned>(s.error));
      client.HangUp(handle);
      return 1;
    }
    if (s.state != shown) std::printf("%s: %s\n", entry.c_str(), dialup::StateName(s.state).c_str());
    shown = s.state;
    if (s.state == RASCS_Connected) break;
  }
  std::string dir = dialup::RuntimeDirectory();
  std::printf("%s: %s\n", entry.c_str(), Describe(dir, entry).c_str());
  return 0;
}

int HangUp(const std::string& entry) {
  if (dialup::HangUpEntry(entry) != 0) {
    std::fprintf(stderr, "corvane-dial: %s: not connected\n", entry.c_str());
    return 1;
  }
  std::printf("%s: hung up\n", entry.c_str());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    std::fputs(kUsage, args.empty() ? stderr : stdout);
    return args.empty() ? 2 : 0;
  }
  std::string command = args[0];
  args.erase(args.begin());
  if (command == "status" && args.size() <= 1) return Status(args);
  if (command == "up" && args.size() == 1) return Up(args[0]);
  if ((command == "hangup" || command == "down") && args.size() == 1) return HangUp(args[0]);
  std::fprintf(stderr, "corvane-dial: %s\n%s",
               (command == "status" || command == "up" || command == "hangup")
                   ? ("wrong arguments for " + command).c_str()
                   : ("unknown command '" + command + "'").c_str(),
               kUsage);
  return 2;
}
