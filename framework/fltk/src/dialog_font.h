// The dialog font: the templates name "MS Sans Serif" 8 pt; we draw with the
// installed sans-serif face closest to its metrics (fontconfig's answer for
// Arial, its default sans-serif face where none is closer), sized for the
// screen's resolution, and measure base units from it the way Windows does.
#pragma once
#include <FL/Enumerations.H>

#include "framework/window_system.h"

namespace corvane::ui::fltkws {

struct DialogFont {
  Fl_Font face = FL_HELVETICA;
  int pixels = 11;  // character height asked of the font
  BaseUnits units{6, 13};
};

// Needs the display open (the size depends on its resolution).
DialogFont MeasureDialogFont(int pointSize);

}  // namespace corvane::ui::fltkws
