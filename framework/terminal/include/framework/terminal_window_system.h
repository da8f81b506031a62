#pragma once
#include <memory>
#include <string>

#include "framework/window_system.h"

namespace corvane::ui {
// Dialogs on the controlling terminal when there is one; otherwise nullptr
// and `whyNot` says why.
std::unique_ptr<WindowSystem> TryTerminalWindowSystem(std::string& whyNot);
}  // namespace corvane::ui
