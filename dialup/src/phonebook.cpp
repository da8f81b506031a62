#include "dialup/phonebook.h"

#include <arpa/inet.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

#include "win32/ras.h"

namespace dialup {
namespace {

std::string Trim(const std::string& s) {
  const char* blanks = " \t\r\v";
  auto first = s.find_first_not_of(blanks);
  if (first == std::string::npos) return "";
  auto last = s.find_last_not_of(blanks);
  return s.substr(first, last - first + 1);
}

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return {};
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

struct Section {
  std::string name;
  std::map<std::string, std::string> values;  // keys lower-cased, first wins
};

// INI sections in file order; ';' starts a comment line.
std::vector<Section> ParseSections(const std::string& text) {
  std::vector<Section> sections;
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    line = Trim(line);
    if (line.empty() || line[0] == ';') continue;
    if (line[0] == '[') {
      auto close = line.find(']');
      if (close == std::string::npos) continue;
      sections.push_back({Trim(line.substr(1, close - 1)), {}});
      continue;
    }
    auto eq = line.find('=');
    if (eq == std::string::npos || sections.empty()) continue;
    sections.back().values.emplace(Lower(Trim(line.substr(0, eq))), Trim(line.substr(eq + 1)));
  }
  return sections;
}

bool ParseUnsigned(const std::string& text, unsigned min, unsigned max, unsigned& out) {
  if (text.empty() || !std::all_of(text.begin(), text.end(), ::isdigit) || text.size() > 9)
    return false;
  unsigned long value = std::strtoul(text.c_str(), nullptr, 10);
  if (value < min || value > max) return false;
  out = static_cast<unsigned>(value);
  return true;
}

bool IsIPv4(const std::string& text) {
  in_addr addr{};
  return inet_pton(AF_INET, text.c_str(), &addr) == 1;
}

Lookup Invalid(DWORD error, const Section& section, const std::string& what) {
  return {std::nullopt, error, "phonebook entry [" + section.name + "]: " + what};
}

Lookup MakeEntry(const Section& section) {
  auto get = [&](const char* key) {
    auto it = section.values.find(key);
    return it == section.values.end() ? std::string() : it->second;
  };
  Entry entry;
  entry.name = section.name;
  entry.device = get("device");
  if (entry.device.empty())
    return Invalid(ERROR_DEVICE_DOES_NOT_EXIST, section, "no device= line names the serial line");
  if (auto v = get("speed"); !v.empty() && !ParseUnsigned(v, 50, 4000000, entry.speed))
    return Invalid(ERROR_CANNOT_FIND_PHONEBOOK_ENTRY, section, "speed '" + v + "' is not a line speed");
  if (auto v = Lower(get("flow")); v == "rtscts") {
    entry.flow = FlowControl::RtsCts;
  } else if (!v.empty() && v != "none") {
    return Invalid(ERROR_CANNOT_FIND_PHONEBOOK_ENTRY, section,
                   "flow '" + v + "' is neither none nor rtscts");
  }
  entry.phone = get("phone");
  entry.init = get("init");
  entry.local = get("local");
  entry.remote = get("remote");
  if (!IsIPv4(entry.local) || !IsIPv4(entry.remote))
    return Invalid(ERROR_SLIP_REQUIRES_IP, section,
                   "local= and remote= must both be dotted IPv4 addresses");
  if (auto v = get("mtu"); !v.empty() && !ParseUnsigned(v, 68, 65535, entry.mtu))
    return Invalid(ERROR_CANNOT_FIND_PHONEBOOK_ENTRY, section, "mtu '" + v + "' is out of range");
  if (auto v = get("timeout"); !v.empty() && !ParseUnsigned(v, 1, 3600, entry.timeoutSeconds))
    return Invalid(ERROR_CANNOT_FIND_PHONEBOOK_ENTRY, section,
                   "timeout '" + v + "' is not 1 to 3600 seconds");
  entry.interface = get("interface");
  if (entry.interface.size() > 15)
    return Invalid(ERROR_CANNOT_FIND_PHONEBOOK_ENTRY, section,
                   "interface names have at most 15 characters");
  return {std::move(entry), 0, {}};
}

Lookup NotFound(const std::string& name) {
  return {std::nullopt, ERROR_CANNOT_FIND_PHONEBOOK_ENTRY,
          "no phonebook entry is named '" + name + "'", true};
}

}  // namespace

bool SameEntryName(const std::string& a, const std::string& b) { return Lower(a) == Lower(b); }

std::vector<std::string> DefaultPhonebooks() {
  std::string config;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg == '/') {
    config = xdg;
  } else if (const char* home = std::getenv("HOME"); home && *home) {
    config = std::string(home) + "/.config";
  }
  std::vector<std::string> books;
  if (!config.empty()) books.push_back(config + "/corvane/phonebook.ini");
  books.push_back("/etc/corvane/phonebook.ini");
  return books;
}

Lookup FindEntryInText(const std::string& name, const std::string& text) {
  for (const Section& section : ParseSections(text)) {
    if (SameEntryName(section.name, name)) return MakeEntry(section);
  }
  return NotFound(name);
}

Lookup FindEntry(const std::string& name, const std::vector<std::string>& phonebooks) {
  if (name.empty() || name.size() > RAS_MaxEntryName - 1)
    return {std::nullopt, ERROR_CANNOT_FIND_PHONEBOOK_ENTRY, "entry names have 1 to 255 characters"};
  for (const std::string& book : phonebooks) {
    Lookup found = FindEntryInText(name, ReadFile(book));
    if (!found.missing) return found;
  }
  return NotFound(name);
}

std::vector<std::string> EntryNames(const std::vector<std::string>& phonebooks) {
  std::vector<std::string> names;
  for (const std::string& book : phonebooks) {
    for (const Section& section : ParseSections(ReadFile(book))) {
      bool seen = std::any_of(names.begin(), names.end(),
                              [&](const std::string& n) { return SameEntryName(n, section.name); });
      if (!seen) names.push_back(section.name);
    }
  }
  return names;
}

}  // namespace dialup
