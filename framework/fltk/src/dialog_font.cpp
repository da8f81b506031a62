#include "dialog_font.h"

#include <FL/Fl.H>
#include <FL/fl_draw.H>

#include <cmath>

namespace corvane::ui::fltkws {
namespace {

int ScreenDpi() {
  float horizontal = 0, vertical = 0;
  Fl::screen_dpi(horizontal, vertical, 0);
  // A server that reports no physical size gives nonsense; Windows' "small
  // fonts" resolution is the sensible fallback.
  if (!(vertical >= 48 && vertical <= 480)) return 96;
  return static_cast<int>(std::lround(vertical));
}

// Asked of fontconfig by the name of the face whose metrics are closest to
// MS Sans Serif's; where no face of that name or metric alias is installed,
// fontconfig answers with its default sans-serif face.
constexpr const char* kDialogFace = " Arial";  // the leading blank: regular style

Fl_Font DialogFace() {
  static const Fl_Font face = [] {
    Fl::set_font(FL_FREE_FONT, kDialogFace);
    return static_cast<Fl_Font>(FL_FREE_FONT);
  }();
  return face;
}

}  // namespace

DialogFont MeasureDialogFont(int pointSize) {
  if (pointSize <= 0) pointSize = 8;
  DialogFont font;
  font.face = DialogFace();
  font.pixels = (pointSize * ScreenDpi() + 36) / 72;  // MulDiv rounding
  fl_font(font.face, font.pixels);
  const double width = fl_width("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
  // Windows takes the extent of the 52 letters and rounds (cx / 26 + 1) / 2.
  const int extent = static_cast<int>(std::lround(width));
  font.units.x = (extent / 26 + 1) / 2;
  font.units.y = fl_height();
  if (font.units.x <= 0) font.units.x = 1;
  if (font.units.y <= 0) font.units.y = 1;
  return font;
}

}  // namespace corvane::ui::fltkws
