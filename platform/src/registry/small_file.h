// Reading the small text files the registry is made from.
#pragma once
#include <filesystem>
#include <cstdint>
#include <optional>
#include <string>

namespace platform::registry {

// Hive and desktop files are a few kilobytes; anything past this limit is
// not such a file and is not read into memory.
inline constexpr std::uintmax_t kLargestReadableFile = 16u * 1024 * 1024;

// The whole content of a regular file, or none when it is missing, not a
// regular file, unreadable or larger than the limit.
std::optional<std::string> ReadSmallFile(const std::filesystem::path& path);

}  // namespace platform::registry
