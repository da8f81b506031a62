// What a window system does for the framework: native windows made from a
// dialog template, a loop until a dialog ends, text in and out of controls,
// message boxes. Everything a dialog *means* (which button ends it, what
// Escape does, where it is placed) is decided once, in the framework.
#pragma once
#include <functional>
#include <memory>
#include <string>

#include "framework/image.h"
#include "framework/resources.h"
#include "win32/user.h"

namespace corvane::ui {

struct Size {
  int width;
  int height;
};

// The framework's side of one dialog window; the window system reports the
// user's acts to it.
class DialogHost {
 public:
  virtual ~DialogHost() = default;
  virtual void OnButton(int controlId) = 0;        // a push button was pressed
  virtual void OnEnter(int focusedControlId) = 0;  // Enter (the framework picks the button)
  virtual void OnEscape() = 0;
  virtual void OnCloseBox() = 0;  // offered only where the template has WS_SYSMENU
  virtual void OnHelpKey() = 0;   // F1
  virtual void OnPaint() = 0;     // the window needs drawing: WM_PAINT
};

enum class IconSize { Small, Big };

class NativeDialog {
 public:
  virtual ~NativeDialog() = default;  // destroys the native window
  virtual Size FrameSize() const = 0;  // pixels (cells for a terminal), for centring
  virtual void MoveTo(int x, int y) = 0;
  virtual void Show() = 0;  // on screen and fully drawn when this returns
  virtual std::string ControlText(int controlId) const = 0;
  virtual void SetControlText(int controlId, const std::string& text) = 0;
  virtual void LimitText(int controlId, int maxChars) = 0;  // edit fields
  virtual void SetFocus(int controlId) = 0;
  virtual void SetIcon(IconSize which, const res::Image* icon) = 0;  // nullptr: none
  virtual bool IsIconic() const = 0;
  virtual RECT ClientRect() const = 0;
  // Painting, valid only while the host's OnPaint runs.
  virtual void PaintDefault() = 0;
  virtual void EraseIconBackground() = 0;
  virtual void DrawIcon(int x, int y, const res::Image& icon) = 0;
};

class WindowSystem {
 public:
  virtual ~WindowSystem() = default;
  virtual const char* Name() const = 0;
  virtual Size ScreenSize() const = 0;
  virtual int SystemMetric(int index) const = 0;  // SM_CXICON and the like
  // A native window for the template, not yet shown. The host outlives it.
  virtual std::unique_ptr<NativeDialog> CreateDialogWindow(const res::DialogTemplate& dialog,
                                                           const res::ResourceModule& module,
                                                           DialogHost& host) = 0;
  // Dispatches the user's input until `ended` is true. Other windows that are
  // open (modeless ones) stay drawn and receive no input.
  virtual void RunModal(NativeDialog& dialog, const std::function<bool()>& ended) = 0;
  // A modal message box: MB_OK or MB_YESNO, no icon. Returns IDOK, IDYES,
  // IDNO, IDCANCEL, or 0 when it could not be shown. `owner` may be null.
  virtual int ShowMessageBox(NativeDialog* owner, const std::string& text,
                             const std::string& caption, UINT type) = 0;
  // Draws what is pending without dispatching input, so windows stay drawn
  // while the program is busy.
  virtual void Flush() = 0;
};

// The window system the framework runs on; set once by the framework's main
// (or by a test for a scope).
WindowSystem* CurrentWindowSystem();
void SetCurrentWindowSystem(WindowSystem* windowSystem);

// Dialog units to pixels, as Windows converts them: base units from the
// dialog font (average width of "A..Za..z", font height).
struct BaseUnits {
  int x;  // average character width in pixels
  int y;  // character height in pixels
  int ToPixelsX(int dialogUnits) const { return (dialogUnits * x + 2) / 4; }  // MulDiv rounding
  int ToPixelsY(int dialogUnits) const { return (dialogUnits * y + 4) / 8; }
};

}  // namespace corvane::ui
