// Placeholder until the FLTK window system lands: no real windows yet.
#include "framework/fltk_window_system.h"

namespace corvane::ui {
std::unique_ptr<WindowSystem> TryFltkWindowSystem(std::string& whyNot) {
  whyNot = "no window system is available (real windows are not built yet)";
  return nullptr;
}
}  // namespace corvane::ui
