#include "picture_cells.h"

#include <algorithm>
#include <cstdint>

namespace corvane::ui::terminal {
namespace {

// Ink of one 0xAARRGGBB pixel, 0 to 255: dark and opaque is full ink, so a
// logo on a light or transparent ground shows as its outline.
int Ink(std::uint32_t pixel) {
  int alpha = static_cast<int>(pixel >> 24);
  int red = static_cast<int>((pixel >> 16) & 0xFF);
  int green = static_cast<int>((pixel >> 8) & 0xFF);
  int blue = static_cast<int>(pixel & 0xFF);
  int luma = (red * 299 + green * 587 + blue * 114) / 1000;
  return (255 - luma) * alpha / 255;
}

}  // namespace

ShadedBlock ShadeImage(const res::Image& image, int cols, int rows) {
  ShadedBlock block;
  if (cols < 1 || rows < 1 || image.width < 1 || image.height < 1 ||
      image.pixels.size() < static_cast<std::size_t>(image.width) * image.height) {
    return block;
  }
  block.cols = cols;
  block.rows = rows;
  for (int row = 0; row < rows; ++row) {
    int top = row * image.height / rows;
    int bottom = std::max(top + 1, (row + 1) * image.height / rows);
    for (int col = 0; col < cols; ++col) {
      int left = col * image.width / cols;
      int right = std::max(left + 1, (col + 1) * image.width / cols);
      long sum = 0;
      int count = 0;
      for (int y = top; y < bottom && y < image.height; ++y) {
        for (int x = left; x < right && x < image.width; ++x) {
          sum += Ink(image.pixels[static_cast<std::size_t>(y) * image.width + x]);
          ++count;
        }
      }
      int ink = count ? static_cast<int>(sum / count) : 0;
      block.levels.push_back((ink * 5) / 256);
    }
  }
  return block;
}

ShadedBlock ShadeBitmap(const res::ResourceModule& module, int bitmapId, int cols, int rows) {
  const res::Picture* picture = module.FindBitmap(bitmapId);
  if (!picture) return {};
  std::optional<res::Image> image = res::DecodeBmp(picture->bytes, picture->size);
  if (!image) return {};
  return ShadeImage(*image, cols, rows);
}

}  // namespace corvane::ui::terminal
