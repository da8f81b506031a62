#include "slow_wake.h"

#include <fstream>
#include <sstream>
#include <thread>

namespace demo {
namespace {

// Per network namespace, so only the device's own stack is affected.
constexpr const char* kIgnoreEcho = "/proc/sys/net/ipv4/icmp_echo_ignore_all";

bool IgnoreEcho(bool ignore) {
  std::ofstream setting(kIgnoreEcho);
  setting << (ignore ? "1" : "0") << "\n";
  setting.flush();
  return static_cast<bool>(setting);
}

// Packets the interface has received, from this namespace's /proc/net/dev.
unsigned long long PacketsReceived(const std::string& interface) {
  std::ifstream table("/proc/self/net/dev");
  for (std::string line; std::getline(table, line);) {
    std::size_t colon = line.find(':');
    if (colon == std::string::npos) continue;
    std::string name = line.substr(0, colon);
    name.erase(0, name.find_first_not_of(' '));
    if (name != interface) continue;
    std::istringstream fields(line.substr(colon + 1));
    unsigned long long bytes = 0, packets = 0;
    fields >> bytes >> packets;
    return packets;
  }
  return 0;
}

}  // namespace

bool AnswerEchoOnlyAfter(const std::string& interface, std::chrono::milliseconds delay, std::string& problem) {
  if (!IgnoreEcho(true)) {
    problem = std::string("cannot change ") + kIgnoreEcho;
    return false;
  }
  std::thread([interface, delay] {
    while (PacketsReceived(interface) == 0) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    std::this_thread::sleep_for(delay);
    IgnoreEcho(false);
  }).detach();
  return true;
}

}  // namespace demo
