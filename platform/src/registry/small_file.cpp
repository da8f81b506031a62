#include "registry/small_file.h"

#include <fstream>
#include <iterator>
#include <system_error>

namespace platform::registry {

std::optional<std::string> ReadSmallFile(const std::filesystem::path& path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return std::nullopt;
  const auto size = std::filesystem::file_size(path, error);
  if (error || size > kLargestReadableFile) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string content(static_cast<std::size_t>(size), '\0');
  in.read(content.data(), static_cast<std::streamsize>(content.size()));
  // The file may have shrunk since its size was taken; keep what was read.
  content.resize(static_cast<std::size_t>(in.gcount()));
  if (in.bad()) return std::nullopt;
  return content;
}

}  // namespace platform::registry
