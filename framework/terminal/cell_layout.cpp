#include "cell_layout.h"

#include <algorithm>

namespace corvane::ui::terminal {
namespace {

// Keeps a control inside the client area, so a template that overhangs its
// dialog cannot draw over the border or a neighbouring window.
CellRect ClipToClient(CellRect rect, const CellRect& client) {
  int top = std::max(rect.row, client.row);
  int left = std::max(rect.col, client.col);
  int bottom = std::min(rect.row + rect.rows, client.row + client.rows);
  int right = std::min(rect.col + rect.cols, client.col + client.cols);
  return {top, left, std::max(0, bottom - top), std::max(0, right - left)};
}

CellControl CellControlFrom(const res::ControlTemplate& control, const CellRect& client) {
  CellControl cell;
  cell.id = control.id;
  cell.kind = control.kind;
  cell.text = control.text;
  cell.defaultButton = control.IsDefaultButton();
  cell.centred = control.IsCentred();
  cell.tabStop = control.IsTabStop();
  cell.bordered = (control.style & WS_BORDER) != 0;
  cell.imageId = control.imageId;
  // A control smaller than a cell still gets one, so its text shows.
  CellRect rect{client.row + kCellBaseUnits.ToPixelsY(control.y),
                client.col + kCellBaseUnits.ToPixelsX(control.x),
                std::max(1, kCellBaseUnits.ToPixelsY(control.cy)),
                std::max(1, kCellBaseUnits.ToPixelsX(control.cx))};
  cell.rect = ClipToClient(rect, client);
  return cell;
}

}  // namespace

CellLayout LayoutFromTemplate(const res::DialogTemplate& dialog) {
  CellLayout layout;
  layout.caption = dialog.caption;
  layout.closeBox = dialog.HasCloseBox();
  int clientCols = std::max(1, kCellBaseUnits.ToPixelsX(dialog.cx));
  int clientRows = std::max(1, kCellBaseUnits.ToPixelsY(dialog.cy));
  layout.client = {1, 1, clientRows, clientCols};
  layout.frame = {clientCols + 2, clientRows + 2};
  for (const res::ControlTemplate& control : dialog.controls) {
    layout.controls.push_back(CellControlFrom(control, layout.client));
  }
  return layout;
}

int NextTabStop(const CellLayout& layout, int current, int step) {
  int count = static_cast<int>(layout.controls.size());
  if (count == 0) return -1;
  int index = current;
  if (index < 0) index = step > 0 ? -1 : count;
  for (int tried = 0; tried < count; ++tried) {
    index = ((index + step) % count + count) % count;
    if (layout.controls[index].tabStop) return index;
  }
  return -1;
}

}  // namespace corvane::ui::terminal
