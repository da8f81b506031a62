#include <algorithm>

#include "framework/script_window_system.h"

namespace corvane::script {

ScriptedDialog::ScriptedDialog(ScriptWindowSystem& system, const res::DialogTemplate& dialogTemplate,
                               ui::DialogHost& host)
    : system_(system), template_(dialogTemplate), host_(host) {
  for (const res::ControlTemplate& control : template_.controls) {
    if (control.id != IDC_STATIC && control.kind != res::ControlKind::Picture) {
      texts_[control.id] = control.text;
    }
  }
  const ui::BaseUnits units = ScriptWindowSystem::kBaseUnits;
  client_ = RECT{0, 0, units.ToPixelsX(template_.cx), units.ToPixelsY(template_.cy)};
  system_.open_.push_back(this);
}

ScriptedDialog::~ScriptedDialog() {
  auto& open = system_.open_;
  open.erase(std::remove(open.begin(), open.end(), this), open.end());
  if (shown_) system_.Log().Add("close " + Name());
}

std::string ScriptedDialog::Name() const { return std::to_string(template_.id); }

ui::Size ScriptedDialog::FrameSize() const {
  return {static_cast<int>(client_.right), static_cast<int>(client_.bottom)};
}

void ScriptedDialog::MoveTo(int x, int y) {
  x_ = x;
  y_ = y;
}

void ScriptedDialog::Show() {
  shown_ = true;
  ui::Size screen = system_.ScreenSize();
  ui::Size frame = FrameSize();
  bool centred = x_ == (screen.width - frame.width) / 2 && y_ == (screen.height - frame.height) / 2;
  system_.Log().Add("open " + Name() + " " + Quote(template_.caption) + " " +
                    (centred ? std::string("centred") : "at " + std::to_string(x_) + "," + std::to_string(y_)));
}

std::string ScriptedDialog::ControlText(int controlId) const {
  auto found = texts_.find(controlId);
  return found == texts_.end() ? "" : found->second;
}

void ScriptedDialog::SetControlText(int controlId, const std::string& text) {
  std::string value = text;
  if (auto limit = limits_.find(controlId); limit != limits_.end() && value.size() > static_cast<std::size_t>(limit->second)) {
    value.resize(static_cast<std::size_t>(limit->second));
  }
  texts_[controlId] = value;
  system_.Log().Add("text " + Name() + ":" + std::to_string(controlId) + " " + Quote(value));
}

void ScriptedDialog::LimitText(int controlId, int maxChars) { limits_[controlId] = maxChars; }

void ScriptedDialog::SetFocus(int controlId) { focus_ = controlId; }

void ScriptedDialog::SetIcon(ui::IconSize which, const res::Image* icon) {
  icons_[which == ui::IconSize::Big] = icon != nullptr;
  system_.Log().Add("icon " + Name() + (which == ui::IconSize::Big ? " big" : " small") +
                    (icon ? "" : " none"));
}

bool ScriptedDialog::HasIcon(ui::IconSize which) const { return icons_[which == ui::IconSize::Big]; }

void ScriptedDialog::PaintDefault() { system_.Log().Add("paint " + Name() + " default"); }

void ScriptedDialog::EraseIconBackground() {
  system_.Log().Add("paint " + Name() + " erase-icon-background");
}

void ScriptedDialog::DrawIcon(int x, int y, const res::Image&) {
  system_.Log().Add("paint " + Name() + " draw-icon " + std::to_string(x) + "," + std::to_string(y));
}

void ScriptedDialog::Perform(const Act& act) {
  const std::string where = Name() + ":" + std::to_string(act.controlId);
  switch (act.kind) {
    case Act::Kind::Press:
      system_.Log().Add("press " + where);
      host_.OnButton(act.controlId);
      break;
    case Act::Kind::Type: {
      std::string typed = act.text;
      // Typing stops at the field's limit, as it does in an edit control.
      if (auto limit = limits_.find(act.controlId); limit != limits_.end() &&
                                                    typed.size() > static_cast<std::size_t>(limit->second)) {
        typed.resize(static_cast<std::size_t>(limit->second));
      }
      texts_[act.controlId] = typed;
      focus_ = act.controlId;
      system_.Log().Add("type " + where + " " + Quote(typed));
      break;
    }
    case Act::Kind::Enter:
      system_.Log().Add("enter " + Name());
      host_.OnEnter(focus_);
      break;
    case Act::Kind::Escape:
      system_.Log().Add("escape " + Name());
      host_.OnEscape();
      break;
    case Act::Kind::CloseBox:
      // A real window manager shows no close box here; a delete request that
      // arrives anyway reaches the framework, which ignores it.
      system_.Log().Add("close-box " + Name() + (template_.HasCloseBox() ? "" : " (no close box)"));
      host_.OnCloseBox();
      break;
    case Act::Kind::HelpKey:
      system_.Log().Add("help-key " + Name());
      host_.OnHelpKey();
      break;
    case Act::Kind::Paint:
      iconic_ = act.iconic;
      client_ = act.client;
      host_.OnPaint();
      break;
    case Act::Kind::Check:
      act.check(*this);
      break;
  }
}

}  // namespace corvane::script
