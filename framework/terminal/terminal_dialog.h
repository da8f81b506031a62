// One dialog window on the terminal: its controls laid out in cells, the
// focus, the edit fields' text, and the keys a user presses in it. What a
// key *means* for the dialog is decided by its host.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "canvas.h"
#include "cell_layout.h"
#include "edit_line.h"
#include "framework/window_system.h"
#include "key.h"
#include "picture_cells.h"
#include "window_stack.h"

namespace corvane::ui::terminal {

class TerminalDialog final : public NativeDialog {
 public:
  // `pictures` holds one block per control (empty for all but pictures).
  TerminalDialog(CellLayout layout, std::vector<ShadedBlock> pictures, DialogHost& host, WindowStack& stack);
  ~TerminalDialog() override;

  Size FrameSize() const override { return layout_.frame; }
  void MoveTo(int x, int y) override;
  void Show() override;
  std::string ControlText(int controlId) const override;
  void SetControlText(int controlId, const std::string& text) override;
  void LimitText(int controlId, int maxChars) override;
  void SetFocus(int controlId) override;
  void SetIcon(IconSize which, const res::Image* icon) override;
  bool IsIconic() const override { return false; }  // a terminal window cannot be minimised
  RECT ClientRect() const override;
  void PaintDefault() override;
  void EraseIconBackground() override;
  void DrawIcon(int x, int y, const res::Image& icon) override;

  bool Visible() const { return visible_; }
  // The window's top-left cell; the screen may have shifted it since MoveTo.
  int Row() const { return row_; }
  int Col() const { return col_; }
  void ShiftBy(int rows, int cols);
  // `active`: the window that receives the keys, which shows the cursor.
  void Draw(Canvas& canvas, bool active);
  // The host may end or even destroy this window while handling the key, so
  // nothing of the window is touched after the host has been called.
  void HandleKey(const Key& key);
  int FocusedId() const;
  // The window system is going away before this window.
  void Detach() { stack_ = nullptr; }

 private:
  void Changed();
  CellControl* Find(int controlId);
  const CellControl* Find(int controlId) const;
  int IndexOf(int controlId) const;
  bool FocusedIsEdit() const;
  EditLine& Edit(std::size_t index) { return edits_[index]; }
  void MoveFocus(int step);
  void FocusIndex(int index);
  CellRect OnScreen(const CellRect& rect) const;
  CellRect CloseBoxCells() const;
  int ControlAt(int row, int col) const;
  void HandleClick(const Key& key);
  void HandleEditKey(const Key& key);

  void DrawFrame(Canvas& canvas) const;
  void DrawControl(Canvas& canvas, std::size_t index, bool active);
  void DrawStatic(Canvas& canvas, const CellControl& control) const;
  void DrawPicture(Canvas& canvas, const CellControl& control, const ShadedBlock& shades) const;
  void DrawButton(Canvas& canvas, const CellControl& control, bool focused) const;
  void DrawEdit(Canvas& canvas, const CellControl& control, EditLine& edit, bool focused, bool active);

  CellLayout layout_;
  std::vector<ShadedBlock> pictures_;
  std::vector<EditLine> edits_;  // one per control; only edit fields use theirs
  DialogHost& host_;
  WindowStack* stack_;
  int row_ = 0;
  int col_ = 0;
  bool visible_ = false;
  int focus_ = -1;
  Canvas* painting_ = nullptr;  // set while the host paints
};

}  // namespace corvane::ui::terminal
