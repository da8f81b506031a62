#include "framework/dialog.h"

#include <algorithm>
#include <vector>

#include "dialog_site.h"
#include "framework/resources.h"
#include "framework/window_system.h"

namespace corvane::framework {
namespace {
std::vector<CDialog*>& ModalDialogs() {
  static std::vector<CDialog*> dialogs;
  return dialogs;
}

// The first control that takes the focus by Tab, in template order.
int FirstTabStop(const res::DialogTemplate& dialogTemplate) {
  for (const res::ControlTemplate& control : dialogTemplate.controls) {
    if (control.IsTabStop()) return control.id;
  }
  return 0;
}
}  // namespace

CDialog* ActiveDialog() { return ModalDialogs().empty() ? nullptr : ModalDialogs().back(); }

}  // namespace corvane::framework

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_COMMAND(IDOK, &CDialog::OnOK)
ON_COMMAND(IDCANCEL, &CDialog::OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd) : templateId_(nIDTemplate), parent_(pParentWnd) {}

CDialog::~CDialog() { DetachNative(); }

BOOL CDialog::OpenWindow(UINT templateId) {
  using namespace corvane;
  const res::ResourceModule* module = res::CurrentModule();
  const res::DialogTemplate* dialogTemplate =
      module ? module->FindDialog(static_cast<int>(templateId)) : nullptr;
  ui::WindowSystem* ws = ui::CurrentWindowSystem();
  if (!dialogTemplate || !ws) return FALSE;
  DetachNative();
  templateId_ = templateId;
  site_ = std::make_unique<framework::DialogSite>(*this, *dialogTemplate);
  std::unique_ptr<ui::NativeDialog> native = ws->CreateDialogWindow(*dialogTemplate, *module, *site_);
  if (!native) return FALSE;
  AttachNative(std::move(native));
  ended_ = false;
  result_ = -1;

  // The template's visible style acts only after initialisation: nothing is
  // shown or moved while the dialog initialises.
  if (OnInitDialog()) {
    if (int first = framework::FirstTabStop(*dialogTemplate)) Native()->SetFocus(first);
  }
  CentreOnScreen();
  return TRUE;
}

void CDialog::CentreOnScreen() {
  corvane::ui::WindowSystem* ws = corvane::ui::CurrentWindowSystem();
  if (!ws || !Native()) return;
  corvane::ui::Size screen = ws->ScreenSize();
  corvane::ui::Size frame = Native()->FrameSize();
  Native()->MoveTo(std::max(0, (screen.width - frame.width) / 2),
                   std::max(0, (screen.height - frame.height) / 2));
}

INT_PTR CDialog::DoModal() {
  if (!OpenWindow(templateId_)) {
    DetachNative();
    return -1;
  }
  auto& modal = corvane::framework::ModalDialogs();
  modal.push_back(this);
  if (!ended_) {
    Native()->Show();
    corvane::ui::CurrentWindowSystem()->RunModal(*Native(), [this] { return ended_; });
  }
  modal.erase(std::find(modal.begin(), modal.end(), this));
  DetachNative();
  return result_;
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd) {
  parent_ = pParentWnd;
  if (!OpenWindow(nIDTemplate)) {
    DetachNative();
    return FALSE;
  }
  if (site_->Template().VisibleAtCreation()) Native()->Show();
  corvane::ui::CurrentWindowSystem()->Flush();
  return TRUE;
}

BOOL CDialog::DestroyWindow() {
  BOOL destroyed = CWnd::DestroyWindow();
  if (destroyed) {
    if (corvane::ui::WindowSystem* ws = corvane::ui::CurrentWindowSystem()) ws->Flush();
  }
  return destroyed;
}

BOOL CDialog::OnInitDialog() {
  UpdateData(FALSE);
  return TRUE;
}

void CDialog::EndDialog(int nResult) {
  result_ = nResult;
  ended_ = true;
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate) {
  CDataExchange dx(this, bSaveAndValidate);
  DoDataExchange(&dx);
  return TRUE;
}

void CDialog::DoDataExchange(CDataExchange*) {}

void CDialog::OnOK() {
  if (!UpdateData(TRUE)) return;
  EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }
