#pragma once
#include <memory>
#include <string>

#include "framework/window_system.h"

namespace corvane::ui {
// Real windows when a display is there, else the terminal; nullptr (with the
// reasons) when neither can be had.
std::unique_ptr<WindowSystem> ChooseWindowSystem(std::string& whyNot);
}  // namespace corvane::ui
