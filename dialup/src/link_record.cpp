#include "dialup/link_record.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <sstream>

#include "win32/ras.h"

namespace dialup {
namespace {

std::string EntryKey(const std::string& entryName) {
  std::uint64_t hash = 1469598103934665603ull;  // FNV-1a
  for (char c : entryName) {
    hash ^= static_cast<unsigned char>(std::tolower(static_cast<unsigned char>(c)));
    hash *= 1099511628211ull;
  }
  char key[17];
  std::snprintf(key, sizeof key, "%016llx", static_cast<unsigned long long>(hash));
  return key;
}

bool EnsurePrivateDirectory(const std::string& path) {
  if (mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return false;
  struct stat st {};
  if (lstat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return false;
  return st.st_uid == geteuid();
}

// Values are single lines; an entry or device name with a line break in it
// would otherwise forge fields.
std::string OneLine(const std::string& value) {
  std::string out = value;
  for (char& c : out) {
    if (c == '\n' || c == '\r') c = ' ';
  }
  return out;
}

}  // namespace

std::int64_t MonotonicNs() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<std::int64_t>(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

std::string SerializeRecord(const LinkRecord& r) {
  std::ostringstream out;
  out << "entry=" << OneLine(r.entry) << "\npid=" << r.pid << "\nattempt=" << r.attempt
      << "\nstate=" << r.state << "\nerror=" << r.error << "\ndevicetype=" << OneLine(r.deviceType)
      << "\ndevice=" << OneLine(r.device) << "\ninterface=" << OneLine(r.interface)
      << "\nlocal=" << OneLine(r.local) << "\nremote=" << OneLine(r.remote)
      << "\nchanged=" << r.changedNs << "\n";
  return out.str();
}

std::optional<LinkRecord> ParseRecord(const std::string& text) {
  LinkRecord r;
  bool haveState = false;
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    auto eq = line.find('=');
    if (eq == std::string::npos) continue;
    std::string key = line.substr(0, eq);
    std::string value = line.substr(eq + 1);
    auto number = [&] { return std::strtoull(value.c_str(), nullptr, 10); };
    if (key == "entry") r.entry = value;
    else if (key == "pid") r.pid = static_cast<pid_t>(number());
    else if (key == "attempt") r.attempt = number();
    else if (key == "state") r.state = static_cast<DWORD>(number()), haveState = true;
    else if (key == "error") r.error = static_cast<DWORD>(number());
    else if (key == "devicetype") r.deviceType = value;
    else if (key == "device") r.device = value;
    else if (key == "interface") r.interface = value;
    else if (key == "local") r.local = value;
    else if (key == "remote") r.remote = value;
    else if (key == "changed") r.changedNs = static_cast<std::int64_t>(number());
  }
  if (!haveState || r.entry.empty()) return std::nullopt;
  return r;
}

bool IsFinished(const LinkRecord& r) {
  return r.state == RASCS_Disconnected || (r.error != 0 && r.error != PENDING);
}

std::string RuntimeDirectory() {
  std::string base;
  if (const char* xdg = std::getenv("XDG_RUNTIME_DIR"); xdg && *xdg == '/') {
    base = std::string(xdg) + "/corvane";
  } else if (geteuid() == 0) {
    base = "/run/corvane";
  } else {
    base = "/tmp/corvane-" + std::to_string(geteuid());
  }
  return EnsurePrivateDirectory(base) ? base : std::string();
}

std::string StatePath(const std::string& dir, const std::string& entryName) {
  return dir + "/" + EntryKey(entryName) + ".state";
}

std::string LockPath(const std::string& dir, const std::string& entryName) {
  return dir + "/" + EntryKey(entryName) + ".lock";
}

bool PublishRecord(const std::string& dir, const LinkRecord& record) {
  std::string path = StatePath(dir, record.entry);
  std::string temp = path + ".new";
  int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  std::string text = SerializeRecord(record);
  bool written = write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
  close(fd);
  if (!written || rename(temp.c_str(), path.c_str()) != 0) {
    unlink(temp.c_str());
    return false;
  }
  return true;
}

static std::optional<LinkRecord> ReadRecordFile(const std::string& path) {
  std::ifstream in(path);
  if (!in) return std::nullopt;
  std::ostringstream text;
  text << in.rdbuf();
  return ParseRecord(text.str());
}

std::optional<LinkRecord> ReadRecord(const std::string& dir, const std::string& entryName) {
  auto record = ReadRecordFile(StatePath(dir, entryName));
  // A hash collision must not hand out another entry's link.
  if (record && !record->entry.empty()) {
    std::string a = record->entry, b = entryName;
    for (char& c : a) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (char& c : b) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (a != b) return std::nullopt;
  }
  return record;
}

void RemoveRecord(const std::string& dir, const std::string& entryName) {
  unlink(StatePath(dir, entryName).c_str());
}

std::vector<LinkRecord> ReadAllRecords(const std::string& dir) {
  std::vector<LinkRecord> records;
  DIR* d = opendir(dir.c_str());
  if (!d) return records;
  while (dirent* e = readdir(d)) {
    std::string name = e->d_name;
    if (name.size() > 6 && name.ends_with(".state")) {
      if (auto r = ReadRecordFile(dir + "/" + name)) records.push_back(std::move(*r));
    }
  }
  closedir(d);
  return records;
}

bool ConnectionProcessAlive(const std::string& dir, const std::string& entryName) {
  int fd = open(LockPath(dir, entryName).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  bool held = flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
  close(fd);
  return held;
}

}  // namespace dialup
