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

bool Overlaps(const CellRect& a, const CellRect& b) {
  if (a.rows < 1 || a.cols < 1 || b.rows < 1 || b.cols < 1) return false;
  return a.row < b.row + b.rows && b.row < a.row + a.rows && a.col < b.col + b.cols && b.col < a.col + a.cols;
}

// What `rect` may grow into without covering anything in `taken` (the other
// controls' rectangles and the rooms given out before): rightwards up to one
// blank cell before the next control on its rows, then downwards over the
// rows that are free across that width.
CellRect RoomFor(const CellRect& rect, const CellRect& client, const std::vector<CellRect>& taken) {
  int right = client.col + client.cols;
  for (const CellRect& other : taken) {
    bool sameRows = other.row < rect.row + rect.rows && rect.row < other.row + other.rows;
    if (sameRows && other.col >= rect.col + rect.cols) right = std::min(right, other.col - 1);
  }
  CellRect room = rect;
  room.cols = std::max(rect.cols, right - rect.col);
  auto free = [&taken](const CellRect& band) {
    return std::none_of(taken.begin(), taken.end(), [&band](const CellRect& other) { return Overlaps(band, other); });
  };
  if (!free(room)) return rect;
  while (room.row + room.rows < client.row + client.rows &&
         free(CellRect{room.row + room.rows, room.col, 1, room.cols})) {
    ++room.rows;
  }
  return room;
}

void GiveStaticTextsRoom(CellLayout& layout) {
  std::vector<CellRect> rooms;
  for (std::size_t i = 0; i < layout.controls.size(); ++i) {
    CellControl& control = layout.controls[i];
    control.room = control.rect;
    if (control.kind != res::ControlKind::Static || control.centred) continue;
    std::vector<CellRect> taken = rooms;
    for (std::size_t j = 0; j < layout.controls.size(); ++j) {
      if (j != i) taken.push_back(layout.controls[j].rect);
    }
    control.room = RoomFor(control.rect, layout.client, taken);
    rooms.push_back(control.room);
  }
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
  GiveStaticTextsRoom(layout);
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
