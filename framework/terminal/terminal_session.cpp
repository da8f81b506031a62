#include "terminal_session.h"

#include <curses.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <term.h>
#include <unistd.h>

#include <cerrno>
#include <clocale>
#include <csignal>
#include <cstdlib>
#include <cwchar>

namespace corvane::ui::terminal {
namespace {

// Escape alone must reach the dialog quickly; keys that send sequences
// arrive in one burst well inside this.
constexpr int kEscapeDelayMs = 25;

// curses keeps one screen per process; this is it while a session is open.
struct screen* g_openScreen = nullptr;

// The terminal is given back even when the program leaves through exit().
void EndSessionAtExit() {
  if (!g_openScreen) return;
  endwin();
  g_openScreen = nullptr;
}

void RegisterExitHandlerOnce() {
  static const bool registered = (std::atexit(EndSessionAtExit), true);
  (void)registered;
}

bool LocaleShowsLatin1() {
  char bytes[MB_LEN_MAX];
  std::mbstate_t state{};
  return std::wcrtomb(bytes, static_cast<wchar_t>(0xE9), &state) != static_cast<std::size_t>(-1);
}

bool WhyNoTerminal(std::string& whyNot) {
  if (!isatty(STDIN_FILENO) || !isatty(STDOUT_FILENO)) {
    whyNot = "standard input and output are not a terminal";
    return true;
  }
  const char* term = std::getenv("TERM");
  if (!term || !*term) {
    whyNot = "TERM is not set, so the terminal type is unknown";
    return true;
  }
  int error = 0;
  if (setupterm(term, STDOUT_FILENO, &error) != OK) {
    whyNot = std::string("the terminal type \"") + term + "\" is not known to this system";
    return true;
  }
  // Dialogs are drawn by moving the cursor around; a terminal that cannot
  // do that (TERM=dumb, a printer) cannot show them.
  const char* cup = tigetstr(const_cast<char*>("cup"));
  bool addressable = cup && cup != reinterpret_cast<const char*>(-1);
  del_curterm(cur_term);
  if (!addressable) {
    whyNot = std::string("the terminal type \"") + term + "\" cannot place the cursor";
    return true;
  }
  return false;
}

// A terminal that went away (the window closed, the line dropped) ends the
// program the way it ends every terminal program, instead of leaving it
// waiting for keys that can never come.
[[noreturn]] void EndOnHangUp() {
  g_openScreen = nullptr;
  std::signal(SIGHUP, SIG_DFL);
  std::raise(SIGHUP);
  std::_Exit(129);
}

}  // namespace

std::unique_ptr<TerminalSession> TerminalSession::Open(std::string& whyNot) {
  if (g_openScreen) {
    whyNot = "the terminal is already in use by another window system";
    return nullptr;
  }
  // Only the character type follows the user's locale: numbers and messages
  // of the programs stay as they are.
  std::setlocale(LC_CTYPE, "");
  if (WhyNoTerminal(whyNot)) return nullptr;
  struct screen* screen = newterm(nullptr, stdout, stdin);
  if (!screen) {
    whyNot = "the terminal could not be initialised";
    return nullptr;
  }
  g_openScreen = screen;
  RegisterExitHandlerOnce();
  set_escdelay(kEscapeDelayMs);
  cbreak();
  noecho();
  nonl();
  keypad(stdscr, TRUE);
  mousemask(BUTTON1_PRESSED, nullptr);
  mouseinterval(0);
  return std::unique_ptr<TerminalSession>(new TerminalSession(screen, LocaleShowsLatin1()));
}

TerminalSession::TerminalSession(struct screen* screen, bool wideText) : screen_(screen), canvas_(wideText) {}

TerminalSession::~TerminalSession() {
  if (g_openScreen == screen_) {
    endwin();
    g_openScreen = nullptr;
  }
  delscreen(screen_);
}

Size TerminalSession::ScreenSize() const { return {COLS, LINES}; }

bool TerminalSession::FollowResize() {
  winsize size{};
  if (ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) != 0 || size.ws_row == 0 || size.ws_col == 0) return false;
  if (size.ws_row == LINES && size.ws_col == COLS) return false;
  resize_term(size.ws_row, size.ws_col);
  return true;
}

void TerminalSession::ForceFullRedraw() { clearok(curscr, TRUE); }

std::optional<Key> TerminalSession::ReadKey(int timeoutMs) {
  // Keys curses has already read stay in its own buffer, which poll cannot see.
  timeout(0);
  wint_t code = 0;
  int status = get_wch(&code);
  if (status != ERR) return KeyFromCurses(status, code);

  pollfd input{STDIN_FILENO, POLLIN, 0};
  int ready = poll(&input, 1, timeoutMs);
  if (ready < 0) {
    // A resize signal interrupts the wait; curses reports it as a key.
    if (errno == EINTR && FollowResize()) return Key{Key::Kind::Resize};
    return std::nullopt;
  }
  if (ready == 0) return std::nullopt;
  if (input.revents & (POLLHUP | POLLERR | POLLNVAL)) EndOnHangUp();
  timeout(kEscapeDelayMs * 4);
  status = get_wch(&code);
  if (status == ERR) return std::nullopt;
  return KeyFromCurses(status, code);
}

std::optional<Key> TerminalSession::KeyFromCurses(int status, wint_t code) {
  using Kind = Key::Kind;
  if (status == KEY_CODE_YES) {
    switch (code) {
      case KEY_ENTER: return Key{Kind::Enter};
      case KEY_BTAB: return Key{Kind::BackTab};
      case KEY_UP: return Key{Kind::Up};
      case KEY_DOWN: return Key{Kind::Down};
      case KEY_LEFT: return Key{Kind::Left};
      case KEY_RIGHT: return Key{Kind::Right};
      case KEY_HOME: return Key{Kind::Home};
      case KEY_END: return Key{Kind::End};
      case KEY_BACKSPACE: return Key{Kind::Backspace};
      case KEY_DC: return Key{Kind::Delete};
      case KEY_F(1): return Key{Kind::Help};
      case KEY_RESIZE: return Key{Kind::Resize};
      case KEY_MOUSE: {
        MEVENT event{};
        if (getmouse(&event) == OK && (event.bstate & BUTTON1_PRESSED)) {
          return Key{Kind::Click, 0, event.y, event.x};
        }
        return std::nullopt;
      }
      default: return std::nullopt;
    }
  }
  switch (code) {
    case L'\r':
    case L'\n': return Key{Kind::Enter};
    case 27: return Key{Kind::Escape};
    case L'\t': return Key{Kind::Tab};
    case 8:
    case 127: return Key{Kind::Backspace};
    case 12: return Key{Kind::Redraw};
    default: break;
  }
  // Program texts are ANSI: a character outside Latin-1 cannot be typed.
  if ((code >= 0x20 && code < 0x7F) || (code >= 0xA0 && code <= 0xFF)) {
    return Key{Kind::Character, static_cast<char>(code)};
  }
  beep();
  return std::nullopt;
}

}  // namespace corvane::ui::terminal
