#include "dialog_site.h"

#include "framework/app.h"

namespace corvane::framework {

void DialogSite::Command(UINT id) {
  if (dialog_.OnCmdMsg(id)) return;
  if (CWinApp* app = AfxGetApp()) app->OnCmdMsg(id);
}

void DialogSite::OnButton(int controlId) { Command(static_cast<UINT>(controlId)); }

int DialogSite::DefaultButtonId() const {
  for (const res::ControlTemplate& control : template_.controls) {
    if (control.IsDefaultButton()) return control.id;
  }
  return IDOK;  // Windows sends IDOK when a dialog has no default button
}

void DialogSite::OnEnter(int focusedControlId) {
  // A focused push button takes the default role while it has the focus.
  const res::ControlTemplate* focused = template_.FindControl(focusedControlId);
  if (focused && focused->kind == res::ControlKind::PushButton) {
    Command(static_cast<UINT>(focused->id));
  } else {
    Command(static_cast<UINT>(DefaultButtonId()));
  }
}

void DialogSite::OnEscape() { Command(IDCANCEL); }

void DialogSite::OnCloseBox() {
  // Only a window with a system menu has a close box.
  if (template_.HasCloseBox()) Command(IDCANCEL);
}

void DialogSite::OnHelpKey() { Command(ID_HELP); }

void DialogSite::OnPaint() { dialog_.WindowProc(WM_PAINT, 0, 0); }

}  // namespace corvane::framework
