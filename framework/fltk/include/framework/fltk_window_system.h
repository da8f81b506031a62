// Real windows on FLTK 1.3 under X11.
#pragma once
#include <memory>
#include <string>

#include "framework/window_system.h"

namespace corvane::ui {
// Real windows when a display can be opened; otherwise nullptr and `whyNot`
// says why.
std::unique_ptr<WindowSystem> TryFltkWindowSystem(std::string& whyNot);

// The dialog-unit base units of the FLTK window system for a dialog font of
// `pointSize` points on the open display (what dialog layouts are converted
// with). Valid only while an FLTK window system exists.
BaseUnits FltkDialogBaseUnits(int pointSize);
}  // namespace corvane::ui
