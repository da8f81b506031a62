// A picture reduced to a block of shaded character cells: each cell shows
// how much ink the pixels under it carry.
#pragma once
#include <vector>

#include "framework/image.h"
#include "framework/resources.h"

namespace corvane::ui::terminal {

struct ShadedBlock {
  int cols = 0;
  int rows = 0;
  std::vector<int> levels;  // row by row, 0 (blank) to 4 (full ink)
  int At(int row, int col) const { return levels[static_cast<std::size_t>(row * cols + col)]; }
};

ShadedBlock ShadeImage(const res::Image& image, int cols, int rows);

// The module's bitmap `bitmapId` shaded to the block; empty levels when the
// module has no such bitmap or its bytes are not a bitmap file.
ShadedBlock ShadeBitmap(const res::ResourceModule& module, int bitmapId, int cols, int rows);

}  // namespace corvane::ui::terminal
