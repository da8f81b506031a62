// What a connection process publishes about its link, for status queries.
//
// Each entry has two files in the runtime directory, named by a hash of the
// lower-cased entry name: <key>.state, replaced atomically on every change
// (so a reader sees a whole record and inotify reports IN_MOVED_TO), and
// <key>.lock, which the connection process holds locked while it lives, so a
// reader can tell a live link from the record of a dead one.
#pragma once
#include <sys/types.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "win32/types.h"

namespace dialup {

struct LinkRecord {
  std::string entry;
  pid_t pid = 0;
  std::uint64_t attempt = 0;  // tells one attempt on an entry from the next
  DWORD state = 0;            // RASCONNSTATE
  DWORD error = 0;            // 0, or the RAS error that ended the attempt
  std::string deviceType;     // "serial" or "modem"
  std::string device;
  std::string interface;
  std::string local;
  std::string remote;
  std::int64_t changedNs = 0;  // CLOCK_MONOTONIC time of this change
};

std::string SerializeRecord(const LinkRecord& record);
std::optional<LinkRecord> ParseRecord(const std::string& text);

// True once the attempt is over: disconnected, or failed with an error.
bool IsFinished(const LinkRecord& record);

// $XDG_RUNTIME_DIR/corvane, else /run/corvane for root, else
// /tmp/corvane-<uid>. Created (mode 0700) when missing; empty when it cannot
// be created or belongs to someone else.
std::string RuntimeDirectory();

std::string StatePath(const std::string& dir, const std::string& entryName);
std::string LockPath(const std::string& dir, const std::string& entryName);

// Writes the record beside its final name, then renames it into place.
bool PublishRecord(const std::string& dir, const LinkRecord& record);
std::optional<LinkRecord> ReadRecord(const std::string& dir, const std::string& entryName);
void RemoveRecord(const std::string& dir, const std::string& entryName);
std::vector<LinkRecord> ReadAllRecords(const std::string& dir);

// True while a connection process holds the entry's lock file.
bool ConnectionProcessAlive(const std::string& dir, const std::string& entryName);

std::int64_t MonotonicNs();

}  // namespace dialup
