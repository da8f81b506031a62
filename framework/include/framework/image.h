// Pictures decoded from the .ico and .bmp files of a resource module.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace corvane::res {

// Pixels row by row from the top, 0xAARRGGBB.
struct Image {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;
};

// A Windows bitmap file (BITMAPFILEHEADER + BITMAPINFOHEADER, 1/4/8/24/32 bits,
// uncompressed). nullopt when the bytes are not such a file.
std::optional<Image> DecodeBmp(const unsigned char* bytes, std::size_t size);

// The first image of a Windows icon file (DIB entries with their AND mask).
std::optional<Image> DecodeIco(const unsigned char* bytes, std::size_t size);

}  // namespace corvane::res
