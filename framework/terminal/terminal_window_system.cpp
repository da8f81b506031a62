// Placeholder until the terminal window system lands.
#include "framework/terminal_window_system.h"

namespace corvane::ui {
std::unique_ptr<WindowSystem> TryTerminalWindowSystem(std::string& whyNot) {
  whyNot = "no terminal window system is available yet";
  return nullptr;
}
}  // namespace corvane::ui
