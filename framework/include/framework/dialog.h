// A dialog built from a numbered template of the program's resources.
#pragma once
#include <memory>

#include "framework/data_exchange.h"
#include "framework/wnd.h"

namespace corvane::framework {
class DialogSite;
}

class CDialog : public CWnd {
 public:
  explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
  ~CDialog() override;

  // Runs the dialog to its end: IDOK, IDCANCEL (or another EndDialog value),
  // or -1 when the template cannot be loaded or no window can be made.
  virtual INT_PTR DoModal();
  // Creates the dialog modeless; it is on screen at once when its template is
  // visible. Removed by DestroyWindow.
  BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
  BOOL DestroyWindow() override;

  virtual BOOL OnInitDialog();
  void EndDialog(int nResult);
  BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

  UINT TemplateId() const { return templateId_; }

 protected:
  virtual void DoDataExchange(CDataExchange* pDX);
  virtual void OnOK();
  virtual void OnCancel();

  DECLARE_MESSAGE_MAP()

 private:
  friend class corvane::framework::DialogSite;
  BOOL OpenWindow(UINT templateId);
  void CentreOnScreen();

  UINT templateId_;
  CWnd* parent_;
  bool ended_ = false;
  int result_ = -1;
  std::unique_ptr<corvane::framework::DialogSite> site_;
};
