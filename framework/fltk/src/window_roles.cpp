#include "window_roles.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>

namespace corvane::ui::fltkws {
namespace {

// The layout of _MOTIF_WM_HINTS: five longs.
struct MotifHints {
  unsigned long flags;
  unsigned long functions;
  unsigned long decorations;
  long inputMode;
  unsigned long status;
};
constexpr unsigned long kHintFunctions = 1UL << 0;
constexpr unsigned long kHintDecorations = 1UL << 1;
constexpr unsigned long kFunctionMove = 1UL << 2;
constexpr unsigned long kFunctionClose = 1UL << 5;
constexpr unsigned long kDecorBorder = 1UL << 1;
constexpr unsigned long kDecorTitle = 1UL << 3;
constexpr unsigned long kDecorMenu = 1UL << 4;

}  // namespace

WindowRoles::WindowRoles(Display* display) : display_(display) {
  char* names[] = {const_cast<char*>("_MOTIF_WM_HINTS"), const_cast<char*>("_NET_WM_WINDOW_TYPE"),
                   const_cast<char*>("_NET_WM_WINDOW_TYPE_NORMAL"),
                   const_cast<char*>("_NET_WM_WINDOW_TYPE_DIALOG")};
  Atom atoms[4] = {};
  XInternAtoms(display_, names, 4, False, atoms);
  motifHints_ = atoms[0];
  windowType_ = atoms[1];
  typeNormal_ = atoms[2];
  typeDialog_ = atoms[3];
}

void WindowRoles::Apply(Window window, const WindowRole& role) const {
  // Dialog frames: movable, never resizable, minimizable or maximizable.
  MotifHints hints{};
  hints.flags = kHintFunctions | kHintDecorations;
  hints.functions = kFunctionMove | (role.closeBox ? kFunctionClose : 0);
  hints.decorations = kDecorBorder | kDecorTitle | (role.closeBox ? kDecorMenu : 0);
  XChangeProperty(display_, window, motifHints_, motifHints_, 32, PropModeReplace,
                  reinterpret_cast<unsigned char*>(&hints), 5);

  const Atom type = role.applicationWindow ? typeNormal_ : typeDialog_;
  XChangeProperty(display_, window, windowType_, XA_ATOM, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(&type), 1);
  if (role.owner) XSetTransientForHint(display_, window, role.owner);
}

void WindowRoles::KeepContents(Window window) const {
  XSetWindowAttributes attributes{};
  attributes.backing_store = WhenMapped;
  XChangeWindowAttributes(display_, window, CWBackingStore, &attributes);
}

void WindowRoles::Focus(Window window) const {
  XWindowAttributes attributes{};
  if (!XGetWindowAttributes(display_, window, &attributes)) return;
  if (attributes.map_state != IsViewable) return;  // focusing it would be a BadMatch
  XSetInputFocus(display_, window, RevertToPointerRoot, CurrentTime);
}

}  // namespace corvane::ui::fltkws
