#include "terminal_dialog.h"

#include <algorithm>

#include "text_wrap.h"

namespace corvane::ui::terminal {
namespace {

// The row a one-line control (a button, an edit field) is drawn on.
int MiddleRow(const CellRect& rect) { return rect.row + (rect.rows - 1) / 2; }

std::string ButtonLabel(const CellControl& button, int width) {
  std::string label = button.defaultButton ? "[> " + button.text + " <]" : "[ " + button.text + " ]";
  if (static_cast<int>(label.size()) <= width) return label;
  label = "[" + button.text + "]";
  return label.substr(0, static_cast<std::size_t>(std::max(0, width)));
}

bool IsEdit(const CellControl& control) { return control.kind == res::ControlKind::Edit; }
bool IsButton(const CellControl& control) { return control.kind == res::ControlKind::PushButton; }

}  // namespace

TerminalDialog::TerminalDialog(CellLayout layout, std::vector<ShadedBlock> pictures, DialogHost& host,
                               WindowStack& stack)
    : layout_(std::move(layout)),
      pictures_(std::move(pictures)),
      edits_(layout_.controls.size()),
      host_(host),
      stack_(&stack) {
  pictures_.resize(layout_.controls.size());
  for (std::size_t i = 0; i < layout_.controls.size(); ++i) {
    if (IsEdit(layout_.controls[i])) edits_[i].SetText(layout_.controls[i].text);
  }
}

TerminalDialog::~TerminalDialog() {
  if (stack_) stack_->Remove(*this);
}

void TerminalDialog::MoveTo(int x, int y) {
  col_ = x;
  row_ = y;
  Changed();
}

void TerminalDialog::Changed() {
  if (stack_) stack_->Changed();
}

void TerminalDialog::ShiftBy(int rows, int cols) {
  row_ = std::max(0, row_ + rows);
  col_ = std::max(0, col_ + cols);
}

void TerminalDialog::Show() {
  visible_ = true;
  if (stack_) stack_->Raise(*this);
}

int TerminalDialog::IndexOf(int controlId) const {
  for (std::size_t i = 0; i < layout_.controls.size(); ++i) {
    if (layout_.controls[i].id == controlId) return static_cast<int>(i);
  }
  return -1;
}

CellControl* TerminalDialog::Find(int controlId) {
  int index = IndexOf(controlId);
  return index < 0 ? nullptr : &layout_.controls[static_cast<std::size_t>(index)];
}

const CellControl* TerminalDialog::Find(int controlId) const {
  int index = IndexOf(controlId);
  return index < 0 ? nullptr : &layout_.controls[static_cast<std::size_t>(index)];
}

std::string TerminalDialog::ControlText(int controlId) const {
  int index = IndexOf(controlId);
  if (index < 0) return {};
  const CellControl& control = layout_.controls[static_cast<std::size_t>(index)];
  return IsEdit(control) ? edits_[static_cast<std::size_t>(index)].Text() : control.text;
}

void TerminalDialog::SetControlText(int controlId, const std::string& text) {
  int index = IndexOf(controlId);
  if (index < 0) return;
  CellControl& control = layout_.controls[static_cast<std::size_t>(index)];
  if (IsEdit(control)) {
    edits_[static_cast<std::size_t>(index)].SetText(text);
  } else {
    control.text = text;
  }
  Changed();
}

void TerminalDialog::LimitText(int controlId, int maxChars) {
  int index = IndexOf(controlId);
  if (index >= 0) edits_[static_cast<std::size_t>(index)].SetLimit(maxChars);
}

void TerminalDialog::SetFocus(int controlId) {
  int index = IndexOf(controlId);
  if (index < 0) return;
  const CellControl& control = layout_.controls[static_cast<std::size_t>(index)];
  if (IsButton(control) || IsEdit(control)) FocusIndex(index);
}

void TerminalDialog::FocusIndex(int index) {
  focus_ = index;
  // As in a dialog box, an edit field reached from the keyboard has all its
  // text selected, so typing replaces it.
  if (IsEdit(layout_.controls[static_cast<std::size_t>(index)])) edits_[static_cast<std::size_t>(index)].SelectAll();
  Changed();
}

void TerminalDialog::SetIcon(IconSize, const res::Image*) {
  // A terminal has no title bar or task list to show a window's icon in.
}

RECT TerminalDialog::ClientRect() const { return RECT{0, 0, layout_.client.cols, layout_.client.rows}; }

CellRect TerminalDialog::OnScreen(const CellRect& rect) const {
  return {row_ + rect.row, col_ + rect.col, rect.rows, rect.cols};
}

void TerminalDialog::PaintDefault() {
  if (painting_) painting_->Clear(OnScreen(layout_.client));
}

void TerminalDialog::EraseIconBackground() { PaintDefault(); }

void TerminalDialog::DrawIcon(int x, int y, const res::Image& icon) {
  if (!painting_) return;
  ShadedBlock block = ShadeImage(icon, kIconCols, kIconRows);
  CellRect client = OnScreen(layout_.client);
  for (int row = 0; row < block.rows; ++row) {
    for (int col = 0; col < block.cols; ++col) {
      int cellRow = y + row;
      int cellCol = x + col;
      if (cellRow < 0 || cellCol < 0 || cellRow >= client.rows || cellCol >= client.cols) continue;
      painting_->Shade(client.row + cellRow, client.col + cellCol, block.At(row, col));
    }
  }
}

int TerminalDialog::FocusedId() const {
  return focus_ < 0 ? 0 : layout_.controls[static_cast<std::size_t>(focus_)].id;
}

bool TerminalDialog::FocusedIsEdit() const {
  return focus_ >= 0 && IsEdit(layout_.controls[static_cast<std::size_t>(focus_)]);
}

void TerminalDialog::MoveFocus(int step) {
  int next = NextTabStop(layout_, focus_, step);
  if (next >= 0) FocusIndex(next);
}

// ---- keys ----

void TerminalDialog::HandleKey(const Key& key) {
  using Kind = Key::Kind;
  switch (key.kind) {
    case Kind::Tab:
    case Kind::Down: return MoveFocus(+1);
    case Kind::BackTab:
    case Kind::Up: return MoveFocus(-1);
    case Kind::Enter: return host_.OnEnter(FocusedId());
    case Kind::Escape: return host_.OnEscape();
    case Kind::Help: return host_.OnHelpKey();
    case Kind::Click: return HandleClick(key);
    case Kind::Resize:
    case Kind::Redraw: return;
    default: break;
  }
  if (FocusedIsEdit()) return HandleEditKey(key);
  if (key.kind == Kind::Left) return MoveFocus(-1);
  if (key.kind == Kind::Right) return MoveFocus(+1);
  if (key.kind == Kind::Character && key.latin1 == ' ' && focus_ >= 0 &&
      IsButton(layout_.controls[static_cast<std::size_t>(focus_)])) {
    return host_.OnButton(FocusedId());
  }
}

void TerminalDialog::HandleEditKey(const Key& key) {
  EditLine& edit = Edit(static_cast<std::size_t>(focus_));
  using Kind = Key::Kind;
  switch (key.kind) {
    case Kind::Character: edit.Type(key.latin1); break;
    case Kind::Backspace: edit.Backspace(); break;
    case Kind::Delete: edit.Delete(); break;
    case Kind::Left: edit.Left(); break;
    case Kind::Right: edit.Right(); break;
    case Kind::Home: edit.Home(); break;
    case Kind::End: edit.End(); break;
    default: return;
  }
  Changed();
}

CellRect TerminalDialog::CloseBoxCells() const { return {0, layout_.frame.width - 4, 1, 3}; }

int TerminalDialog::ControlAt(int row, int col) const {
  for (std::size_t i = 0; i < layout_.controls.size(); ++i) {
    const CellRect& rect = layout_.controls[i].rect;
    if (row >= rect.row && row < rect.row + rect.rows && col >= rect.col && col < rect.col + rect.cols) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

void TerminalDialog::HandleClick(const Key& key) {
  int row = key.row - row_;
  int col = key.col - col_;
  CellRect closeBox = CloseBoxCells();
  if (layout_.closeBox && row == closeBox.row && col >= closeBox.col && col < closeBox.col + closeBox.cols) {
    return host_.OnCloseBox();
  }
  int index = ControlAt(row, col);
  if (index < 0) return;
  const CellControl& control = layout_.controls[static_cast<std::size_t>(index)];
  if (IsEdit(control)) {
    focus_ = index;
    Changed();
  } else if (IsButton(control)) {
    focus_ = index;
    Changed();
    host_.OnButton(control.id);
  }
}

// ---- drawing ----

void TerminalDialog::Draw(Canvas& canvas, bool active) {
  if (!visible_) return;
  DrawFrame(canvas);
  painting_ = &canvas;
  host_.OnPaint();
  painting_ = nullptr;
  for (std::size_t i = 0; i < layout_.controls.size(); ++i) DrawControl(canvas, i, active);
  if (active && !FocusedIsEdit()) {
    // The cursor rests, hidden, on the focused control (or the caption).
    CellRect at = focus_ >= 0 ? OnScreen(layout_.controls[static_cast<std::size_t>(focus_)].rect)
                              : OnScreen({0, 1, 1, 1});
    canvas.PlaceCursor(MiddleRow(at), at.col, false);
  }
}

void TerminalDialog::DrawFrame(Canvas& canvas) const {
  // The client area is the window's own to paint (PaintDefault); the frame
  // only draws its border and caption.
  CellRect frame = OnScreen({0, 0, layout_.frame.height, layout_.frame.width});
  canvas.Frame(frame);
  int room = layout_.frame.width - (layout_.closeBox ? 8 : 4);
  if (room > 0 && !layout_.caption.empty()) {
    std::string caption = " " + layout_.caption + " ";
    if (static_cast<int>(caption.size()) > room) caption = caption.substr(0, static_cast<std::size_t>(room));
    canvas.Text(frame.row, frame.col + 2, caption, kBold);
  }
  if (layout_.closeBox && layout_.frame.width >= 6) {
    CellRect box = OnScreen(CloseBoxCells());
    canvas.Text(box.row, box.col, "[x]", kPlain);
  }
}

void TerminalDialog::DrawControl(Canvas& canvas, std::size_t index, bool active) {
  const CellControl& control = layout_.controls[index];
  if (control.rect.rows < 1 || control.rect.cols < 1) return;
  bool focused = static_cast<int>(index) == focus_;
  switch (control.kind) {
    case res::ControlKind::Static: return DrawStatic(canvas, control);
    case res::ControlKind::Picture: return DrawPicture(canvas, control, pictures_[index]);
    case res::ControlKind::PushButton: return DrawButton(canvas, control, focused && active);
    case res::ControlKind::Edit: return DrawEdit(canvas, control, edits_[index], focused, active);
  }
}

void TerminalDialog::DrawStatic(Canvas& canvas, const CellControl& control) const {
  CellRect rect = OnScreen(control.rect);
  std::vector<std::string> lines = WrapText(control.text, rect.cols);
  bool overflows = static_cast<int>(lines.size()) > rect.rows || WidestLine(lines) > rect.cols;
  if (overflows && !control.centred && control.room.cols > 0) {
    rect = OnScreen(control.room);
    lines = WrapText(control.text, rect.cols);
  }
  int shown = std::min(static_cast<int>(lines.size()), rect.rows);
  for (int i = 0; i < shown; ++i) {
    const std::string& line = lines[static_cast<std::size_t>(i)];
    int indent = control.centred ? (rect.cols - static_cast<int>(line.size())) / 2 : 0;
    canvas.Text(rect.row + i, rect.col + indent, line, kPlain);
  }
}

void TerminalDialog::DrawPicture(Canvas& canvas, const CellControl& control, const ShadedBlock& shades) const {
  CellRect rect = OnScreen(control.rect);
  canvas.Frame(rect);
  for (int row = 0; row < shades.rows; ++row) {
    for (int col = 0; col < shades.cols; ++col) {
      canvas.Shade(rect.row + 1 + row, rect.col + 1 + col, shades.At(row, col));
    }
  }
}

void TerminalDialog::DrawButton(Canvas& canvas, const CellControl& control, bool focused) const {
  CellRect rect = OnScreen(control.rect);
  std::string label = ButtonLabel(control, rect.cols);
  int indent = (rect.cols - static_cast<int>(label.size())) / 2;
  unsigned style = (focused ? kReverse : kPlain) | (control.defaultButton ? kBold : kPlain);
  canvas.Text(MiddleRow(rect), rect.col + indent, label, style);
}

void TerminalDialog::DrawEdit(Canvas& canvas, const CellControl& control, EditLine& edit, bool focused,
                              bool active) {
  CellRect rect = OnScreen(control.rect);
  int row = MiddleRow(rect);
  int left = rect.col;
  int width = rect.cols;
  if (control.bordered && width >= 3) {
    canvas.Text(row, rect.col, "[", kPlain);
    canvas.Text(row, rect.col + width - 1, "]", kPlain);
    left += 1;
    width -= 2;
  }
  int scroll = edit.ScrollFor(width);
  std::string shown = edit.Text().substr(static_cast<std::size_t>(scroll), static_cast<std::size_t>(width));
  shown.resize(static_cast<std::size_t>(width), ' ');
  canvas.Text(row, left, shown, kUnderline);
  if (focused && edit.AllSelected()) {
    int selected = std::min(width, static_cast<int>(edit.Text().size()) - scroll);
    canvas.Text(row, left, shown.substr(0, static_cast<std::size_t>(selected)), kReverse);
  }
  if (focused && active) canvas.PlaceCursor(row, left + edit.Cursor() - scroll, true);
}

}  // namespace corvane::ui::terminal
