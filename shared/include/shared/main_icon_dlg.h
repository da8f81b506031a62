// A program's main window: it carries the program icon (128) as its big and
// small window icon and draws it centred while minimized.
#pragma once
#include "framework/afxwin.h"

constexpr int IDR_MAINFRAME = 128;

class CMainIconDlg : public CDialog {
 public:
  CMainIconDlg(UINT nIDTemplate, CWnd* pParent);

 protected:
  HICON m_hIcon;

  // The base initialisation, then the window icons; focus to the first control.
  BOOL OnInitDialog() override;

  void OnPaint();
  HCURSOR OnQueryDragIcon();

  DECLARE_MESSAGE_MAP()
};

// Where a minimized window draws its icon: centred, the odd pixel to the
// right, the division truncating toward zero (a 30-pixel client and a 32-pixel
// icon give 0, a 29-pixel client gives -1).
int IconOffset(int clientExtent, int iconExtent);
