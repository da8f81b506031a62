// Whole-file reads and crash-safe whole-file replacement for the profile
// routines.
#pragma once
#include <optional>
#include <string>

namespace platform::real {

// The bytes of the file; an empty string when it does not exist; nothing
// (errno set) when it exists but cannot be read.
std::optional<std::string> ReadFileIfPresent(const std::string& path);

// Puts `contents` in place of the file at `path` so that a crash at any
// moment leaves either the old file or the new one, never a mix: a temporary
// file beside it is written, synced and renamed over it, and the directory is
// synced. The old file's permission bits (and, where allowed, owner) carry
// over; a new file gets 0666 less the umask. A symbolic link is followed and
// its target replaced. False (errno set) when anything failed; the old file is
// then untouched.
bool ReplaceFile(const std::string& path, const std::string& contents);

}  // namespace platform::real
