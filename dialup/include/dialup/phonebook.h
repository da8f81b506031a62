// Dial-up entries: INI files with one section per entry.
//
//   [Device]
//   device=/dev/ttyS0        serial line (required)
//   speed=115200             bits per second (default 115200)
//   flow=none                none | rtscts
//   phone=5551234            dialled through a Hayes modem when present
//   init=ATZ                 sent to the modem before dialling
//   local=10.0.0.1           this end of the point-to-point link (required)
//   remote=10.0.0.2          the device's end (required)
//   mtu=1006
//   timeout=60               seconds until an attempt that got no answer fails
//   interface=sl0            network interface name (default: the first free slN)
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "win32/types.h"

namespace dialup {

enum class FlowControl { None, RtsCts };

struct Entry {
  std::string name;  // as spelled in the phonebook
  std::string device;
  unsigned speed = 115200;
  FlowControl flow = FlowControl::None;
  std::string phone;
  std::string init;
  std::string local;
  std::string remote;
  unsigned mtu = 1006;
  unsigned timeoutSeconds = 60;
  std::string interface;
};

// The outcome of a look-up: an entry, or a RAS error code and a sentence for
// the person who wrote the phonebook.
struct Lookup {
  std::optional<Entry> entry;
  DWORD error = 0;
  std::string problem;
  bool missing = false;  // no phonebook has a section of that name
};

// The phonebooks searched, first match wins: the per-user one
// ($XDG_CONFIG_HOME/corvane/phonebook.ini, default ~/.config), then
// /etc/corvane/phonebook.ini.
std::vector<std::string> DefaultPhonebooks();

// Finds `name` (case-insensitive, as Windows matches entry names) in the
// first of `phonebooks` that has it.
Lookup FindEntry(const std::string& name, const std::vector<std::string>& phonebooks);

// Parses one phonebook's text; exposed for tests.
Lookup FindEntryInText(const std::string& name, const std::string& text);

// Every entry name in the phonebooks, first spelling wins.
std::vector<std::string> EntryNames(const std::vector<std::string>& phonebooks);

bool SameEntryName(const std::string& a, const std::string& b);

}  // namespace dialup
