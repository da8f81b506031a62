#include "window_system_choice.h"

#include "framework/fltk_window_system.h"
#include "framework/terminal_window_system.h"

namespace corvane::ui {

std::unique_ptr<WindowSystem> ChooseWindowSystem(std::string& whyNot) {
  std::string noDisplay;
  if (auto fltk = TryFltkWindowSystem(noDisplay)) return fltk;
  std::string noTerminal;
  if (auto terminal = TryTerminalWindowSystem(noTerminal)) return terminal;
  whyNot = noDisplay + "; " + noTerminal;
  return nullptr;
}

}  // namespace corvane::ui
