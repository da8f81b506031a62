// The framework's side of a dialog window: turns what the user did into the
// commands a dialog's message map handles, the same whichever window system
// reported it.
#pragma once
#include "framework/dialog.h"
#include "framework/window_system.h"

namespace corvane::framework {

class DialogSite final : public ui::DialogHost {
 public:
  DialogSite(CDialog& dialog, const res::DialogTemplate& dialogTemplate)
      : dialog_(dialog), template_(dialogTemplate) {}

  void OnButton(int controlId) override;
  void OnEnter(int focusedControlId) override;
  void OnEscape() override;
  void OnCloseBox() override;
  void OnHelpKey() override;
  void OnPaint() override;

  const res::DialogTemplate& Template() const { return template_; }

  // Sends command `id` to the dialog's map, then to the application's.
  void Command(UINT id);

 private:
  int DefaultButtonId() const;

  CDialog& dialog_;
  const res::DialogTemplate& template_;
};

// The dialog running modally innermost, or null (the help command's topic).
CDialog* ActiveDialog();

}  // namespace corvane::framework
