#include "session.h"

#include <FL/Fl.H>
#include <FL/Fl_Window.H>
#include <FL/x.H>

#include <algorithm>

namespace corvane::ui::fltkws {
namespace {

Session* current = nullptr;

bool IsUserInput(int event) {
  switch (event) {
    case FL_PUSH: case FL_RELEASE: case FL_DRAG: case FL_MOVE: case FL_MOUSEWHEEL:
    case FL_ENTER: case FL_LEAVE: case FL_KEYDOWN: case FL_KEYUP: case FL_SHORTCUT:
    case FL_CLOSE: case FL_PASTE: case FL_DND_ENTER: case FL_DND_DRAG:
    case FL_DND_LEAVE: case FL_DND_RELEASE:
      return true;
    default:
      return false;
  }
}

const Fl_Window* TopLevel(const Fl_Window* window) {
  while (window && window->window()) window = window->window();
  return window;
}

}  // namespace

Session::Session(Display* display) : display_(display), roles_(display) {
  current = this;
  Fl::event_dispatch(&Session::Dispatch);
}

Session::~Session() {
  Fl::event_dispatch(nullptr);
  if (current == this) current = nullptr;
}

Session* Session::Current() { return current; }

const DialogFont& Session::Font(int pointSize) {
  auto found = fonts_.find(pointSize);
  if (found == fonts_.end()) found = fonts_.emplace(pointSize, MeasureDialogFont(pointSize)).first;
  return found->second;
}

void Session::BeginModal(Fl_Window* window) { modal_.push_back(window); }

void Session::EndModal(Fl_Window* window) {
  auto found = std::find(modal_.rbegin(), modal_.rend(), window);
  if (found != modal_.rend()) modal_.erase(std::next(found).base());
}

bool Session::AcceptsInput(const Fl_Window* window) const {
  if (modal_.empty()) return true;
  const Fl_Window* top = TopLevel(window);
  if (top == modal_.back()) return true;
  // A window that appeared after the innermost modal one opened on top of it
  // (its message box, say) and takes input too.
  auto modalAt = std::find(shown_.begin(), shown_.end(), modal_.back());
  auto windowAt = std::find(shown_.begin(), shown_.end(), top);
  return modalAt != shown_.end() && windowAt != shown_.end() && windowAt > modalAt;
}

void Session::Shown(Fl_Window* window) {
  Gone(window);
  shown_.push_back(window);
}

void Session::Gone(Fl_Window* window) {
  const bool wasThere = std::find(shown_.begin(), shown_.end(), window) != shown_.end();
  shown_.erase(std::remove(shown_.begin(), shown_.end(), window), shown_.end());
  EndModal(window);
  if (!wasThere) return;
  Fl_Window* next = !modal_.empty() ? modal_.back() : Newest();
  if (next && next->shown()) roles_.Focus(fl_xid(next));
}

int Session::Dispatch(int event, Fl_Window* window) {
  Session* session = current;
  if (session && window && IsUserInput(event) && !session->AcceptsInput(window)) return 0;
  if (session && (event == FL_KEYDOWN || event == FL_SHORTCUT || event == FL_KEYUP)) {
    const Fl_Window* previous = session->keyWindow_;
    session->keyWindow_ = TopLevel(window);
    const int handled = Fl::handle_(event, window);
    if (Session::Current() == session) session->keyWindow_ = previous;
    return handled;
  }
  return Fl::handle_(event, window);
}

}  // namespace corvane::ui::fltkws
