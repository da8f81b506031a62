#include "message_box.h"

#include <algorithm>
#include <vector>

#include "text_wrap.h"

namespace corvane::ui::terminal {
namespace {

struct BoxButton {
  int id;
  const char* label;
};

std::vector<BoxButton> ButtonsFor(UINT type) {
  switch (type & MB_TYPEMASK) {
    case MB_OK: return {{IDOK, "OK"}};
    case MB_OKCANCEL: return {{IDOK, "OK"}, {IDCANCEL, "Cancel"}};
    case MB_YESNO: return {{IDYES, "Yes"}, {IDNO, "No"}};
    default: return {};
  }
}

// Only boxes with a way to decline can be dismissed without an answer.
bool EscapeAnswers(UINT type) { return (type & MB_TYPEMASK) != MB_YESNO; }

constexpr int kButtonGap = 2;
constexpr int kMargin = 2;

int ButtonWidth(const BoxButton& button) {
  return std::max(10, static_cast<int>(std::string(button.label).size()) + 6);
}

}  // namespace

std::optional<CellLayout> LayoutMessageBox(const std::string& text, const std::string& caption, UINT type,
                                           Size screen) {
  std::vector<BoxButton> buttons = ButtonsFor(type);
  if (buttons.empty()) return std::nullopt;
  int buttonsWidth = -kButtonGap;
  for (const BoxButton& button : buttons) buttonsWidth += ButtonWidth(button) + kButtonGap;

  // The text may use the width of the screen less the frame and margins.
  int textRoom = std::max(20, std::min(screen.width - 2 - 2 * kMargin, 70));
  std::vector<std::string> lines = WrapText(text, textRoom);
  int lineRoom = std::max(1, screen.height - 6);  // frame, blank rows, button row
  if (static_cast<int>(lines.size()) > lineRoom) lines.resize(static_cast<std::size_t>(lineRoom));

  int captionWidth = static_cast<int>(caption.size()) + 8;
  int clientCols = std::max({WidestLine(lines), buttonsWidth, captionWidth - 2 * kMargin}) + 2 * kMargin;
  int clientRows = static_cast<int>(lines.size()) + 3;

  CellLayout layout;
  layout.caption = caption;
  layout.closeBox = EscapeAnswers(type);
  layout.client = {1, 1, clientRows, clientCols};
  layout.frame = {clientCols + 2, clientRows + 2};
  for (std::size_t i = 0; i < lines.size(); ++i) {
    CellControl line;
    line.text = lines[i];
    line.rect = {2 + static_cast<int>(i), 1 + kMargin, 1, clientCols - 2 * kMargin};
    layout.controls.push_back(line);
  }
  int col = 1 + (clientCols - buttonsWidth) / 2;
  for (std::size_t i = 0; i < buttons.size(); ++i) {
    CellControl button;
    button.id = buttons[i].id;
    button.kind = res::ControlKind::PushButton;
    button.text = buttons[i].label;
    button.defaultButton = i == 0;
    button.tabStop = true;
    button.rect = {clientRows, col, 1, ButtonWidth(buttons[i])};
    layout.controls.push_back(button);
    col += ButtonWidth(buttons[i]) + kButtonGap;
  }
  return layout;
}

int DefaultButton(UINT type) {
  std::vector<BoxButton> buttons = ButtonsFor(type);
  return buttons.empty() ? 0 : buttons.front().id;
}

void MessageBoxAnswer::OnEnter(int focusedControlId) {
  // Focus always rests on one of the buttons; Enter presses it.
  if (focusedControlId > 0) result_ = focusedControlId;
}

void MessageBoxAnswer::OnEscape() {
  if (type_ == MB_OK) result_ = IDOK;
  if (type_ == MB_OKCANCEL) result_ = IDCANCEL;
}

void MessageBoxAnswer::OnPaint() {
  if (window_) window_->PaintDefault();
}

}  // namespace corvane::ui::terminal
