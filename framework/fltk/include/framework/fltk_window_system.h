#pragma once
#include <memory>
#include <string>

#include "framework/window_system.h"

namespace corvane::ui {
// Real windows when a display can be opened; otherwise nullptr and `whyNot`
// says why.
std::unique_ptr<WindowSystem> TryFltkWindowSystem(std::string& whyNot);
}  // namespace corvane::ui
