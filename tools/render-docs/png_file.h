// Writes 8-bit RGB pixels as a PNG file.
#pragma once
#include <cstdint>
#include <filesystem>
#include <vector>

namespace corvane::docs {

struct RgbPicture {
  int width = 0, height = 0;
  std::vector<std::uint8_t> rgb;  // width * height * 3, row by row
};

bool WritePng(const std::filesystem::path& file, const RgbPicture& picture);

}  // namespace corvane::docs
