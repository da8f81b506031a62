// A Windows-style message box: the text broken at its line feeds and wrapped
// to a readable width, a row of buttons, no icon, centred on the screen.
#pragma once
#include <string>

#include "session.h"
#include "win32/types.h"

class Fl_Window;

namespace corvane::ui::fltkws {

// Runs the box modally; IDOK, IDCANCEL, IDYES or IDNO, or 0 for a box type
// it cannot show. `owner` (may be null) is the window the box belongs to.
int RunMessageBox(Session& session, Fl_Window* owner, const std::string& text,
                  const std::string& caption, UINT type);

}  // namespace corvane::ui::fltkws
