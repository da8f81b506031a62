#include "framework/window_system.h"

namespace corvane::ui {
namespace {
WindowSystem* current = nullptr;
}

WindowSystem* CurrentWindowSystem() { return current; }
void SetCurrentWindowSystem(WindowSystem* windowSystem) { current = windowSystem; }

}  // namespace corvane::ui
