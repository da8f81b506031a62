// Message boxes on the terminal: the window laid out around the text and its
// buttons, and what the keys answer.
#pragma once
#include <optional>
#include <string>

#include "cell_layout.h"
#include "framework/window_system.h"
#include "win32/user.h"

namespace corvane::ui::terminal {

// The box for MB_OK, MB_OKCANCEL or MB_YESNO, no larger than the screen;
// nullopt for any other kind of box.
std::optional<CellLayout> LayoutMessageBox(const std::string& text, const std::string& caption, UINT type,
                                           Size screen);

// The button that has the focus when the box opens.
int DefaultButton(UINT type);

// Collects the answer of one message box from what its window reports.
class MessageBoxAnswer final : public DialogHost {
 public:
  explicit MessageBoxAnswer(UINT type) : type_(type & MB_TYPEMASK) {}
  int Result() const { return result_; }  // 0 while unanswered
  void OnButton(int controlId) override { result_ = controlId; }
  void OnEnter(int focusedControlId) override;
  void OnEscape() override;
  void OnCloseBox() override { OnEscape(); }
  void OnHelpKey() override {}
  void OnPaint() override;
  void PaintInto(NativeDialog* window) { window_ = window; }

 private:
  UINT type_;
  int result_ = 0;
  NativeDialog* window_ = nullptr;
};

}  // namespace corvane::ui::terminal
