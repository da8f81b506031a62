// A dialog template turned into character cells: one cell is 4 x 8 dialog
// units, rounded as Windows rounds dialog units to pixels. Positions inside
// the layout are relative to the window's top-left corner (its frame).
#pragma once
#include <string>
#include <vector>

#include "framework/resources.h"
#include "framework/window_system.h"

namespace corvane::ui::terminal {

// A terminal cell is one dialog base unit in each direction.
inline constexpr BaseUnits kCellBaseUnits{1, 1};
// A 32 x 32 icon at the same 4 x 8 scale.
inline constexpr int kIconCols = 8;
inline constexpr int kIconRows = 4;

struct CellRect {
  int row = 0;
  int col = 0;
  int rows = 0;
  int cols = 0;
};

struct CellControl {
  int id = IDC_STATIC;
  res::ControlKind kind = res::ControlKind::Static;
  std::string text;
  bool defaultButton = false;
  bool centred = false;
  bool tabStop = false;
  bool bordered = false;
  int imageId = 0;
  CellRect rect;  // within the frame, clipped to the client area
  // For a left-aligned static text: its rectangle grown right and down over
  // cells no other control uses. Template sizes are measured in a
  // proportional font whose letters are mostly narrower than a cell, so a
  // text that fits its rectangle on Windows may need this room here.
  CellRect room;
};

struct CellLayout {
  std::string caption;
  bool closeBox = false;
  Size frame{0, 0};      // the whole window, border included
  CellRect client;       // inside the border
  std::vector<CellControl> controls;  // template order, which is the tab order
};

CellLayout LayoutFromTemplate(const res::DialogTemplate& dialog);

// The next control with a tab stop after `current` (or before, for step -1),
// wrapping around; `current` may be -1 for "none". Returns -1 when no control
// takes the focus.
int NextTabStop(const CellLayout& layout, int current, int step);

}  // namespace corvane::ui::terminal
