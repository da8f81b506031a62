// The terminal window system for real: a test program opens its windows on a
// pseudo-terminal, the test types keys and reads back the screen and the
// events the program's dialog host was given.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "pty_program.h"

namespace corvane::testing {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

class TerminalWindows : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/terminal-windows-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    directory_ = pattern;
    log_ = directory_ / "events.log";
  }
  void TearDown() override { fs::remove_all(directory_); }

  std::unique_ptr<PtyProgram> Start(const std::string& scenario, std::vector<std::string> extra = {},
                                    std::vector<std::string> environment = {"TERM=xterm", "LC_CTYPE=C.UTF-8"}) {
    PtyLaunch launch;
    launch.program = TERMINAL_PROBE;
    launch.arguments = {scenario, log_.string()};
    launch.arguments.insert(launch.arguments.end(), extra.begin(), extra.end());
    launch.directory = directory_.string();
    launch.environment = std::move(environment);
    return std::make_unique<PtyProgram>(launch);
  }

  std::vector<std::string> Events() const {
    std::ifstream in(log_);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }

  bool HasEvent(const std::string& event) const {
    for (const std::string& line : Events()) {
      if (line == event) return true;
    }
    return false;
  }

  // Waits until the host was told `event`, reading the screen meanwhile.
  bool WaitForEvent(PtyProgram& program, const std::string& event) {
    return program.WaitUntil([&](const VtScreen&) { return HasEvent(event); }, 10s);
  }

  fs::path directory_;
  fs::path log_;
};

constexpr const char* kTab = "\t";
constexpr const char* kBackTab = "\x1b[Z";
// Cursor keys as xterm sends them once curses has switched on the keypad.
constexpr const char* kDown = "\x1bOB";
constexpr const char* kF1 = "\x1bOP";
constexpr const char* kHome = "\x1bOH";

TEST_F(TerminalWindows, DrawsTheTemplateCentredWithItsControls) {
  auto program = Start("dialog");
  ASSERT_TRUE(program->WaitForText("Probe Window")) << program->Screen().Text();
  const VtScreen& screen = program->Screen();
  // 240 x 80 dialog units are 60 x 10 cells, 62 x 12 with the frame,
  // centred on 80 x 25: the top-left corner at column 9, row 6.
  auto [captionRow, captionCol] = screen.Find(" Probe Window ");
  EXPECT_EQ(captionRow, 6);
  EXPECT_EQ(captionCol, 11);
  EXPECT_EQ(screen.Row(6).substr(9, 2), "+-");
  EXPECT_EQ(screen.Row(17).substr(9, 62), "+" + std::string(60, '-') + "+");
  EXPECT_NE(screen.Row(6).find("[x]"), std::string::npos) << "close box for WS_SYSMENU";
  // The static text wraps inside its 20 columns.
  std::string text = screen.Text();
  EXPECT_TRUE(screen.Contains("A long line of text")) << text;
  EXPECT_TRUE(screen.Contains("that has to wrap")) << text;
  EXPECT_TRUE(screen.Contains("[> OK <]")) << text;
  EXPECT_TRUE(screen.Contains("[ Cancel ]")) << text;
  EXPECT_TRUE(screen.Contains("[start")) << text;
  // Centred static: "mid" in the middle of a 20-column rectangle at column 22.
  auto [midRow, midCol] = screen.Find("mid");
  EXPECT_EQ(midCol, 9 + 1 + 12 + (20 - 3) / 2) << text;
  // The picture: a frame with the bitmap's black half inked, its white half blank.
  auto [inkRow, inkCol] = screen.Find("####");
  ASSERT_GE(inkRow, 0) << text;
  EXPECT_EQ(screen.Row(inkRow).substr(static_cast<std::size_t>(inkCol - 1), 10), "|####    |");
  // The focus starts on OK: shown reversed.
  auto [okRow, okCol] = screen.Find("[> OK <]");
  EXPECT_TRUE(screen.Reverse(okRow, okCol));
  program->Type("\x1b");
  EXPECT_EQ(program->WaitForExit(), 0);
}

TEST_F(TerminalWindows, KeysReachTheHostWithTheFocusedControl) {
  auto program = Start("dialog");
  ASSERT_TRUE(program->WaitForText("[> OK <]"));
  // Tab moves to the edit field and selects its text; typing replaces it.
  program->Type(kTab);
  program->Type("abc");
  ASSERT_TRUE(program->WaitForText("[abc "));
  program->Type("\r");
  ASSERT_TRUE(WaitForEvent(*program, "enter 1000"));
  program->Type(kBackTab);
  program->Type("\r");
  ASSERT_TRUE(WaitForEvent(*program, "enter 1"));
  program->Type(kF1);
  ASSERT_TRUE(WaitForEvent(*program, "help"));
  // Space presses a button; Down goes through the tab stops like Tab.
  program->Type(" ");
  ASSERT_TRUE(WaitForEvent(*program, "button 1"));
  program->Type(kDown);
  program->Type(kDown);
  program->Type(" ");
  ASSERT_EQ(program->WaitForExit(), 0);
  std::vector<std::string> expected = {"screen 80x25", "frame 62x12", "enter 1000", "enter 1",
                                       "help",         "button 1",    "button 2",   "text abc"};
  EXPECT_EQ(Events(), expected);
}

TEST_F(TerminalWindows, EditFieldKeepsItsLimitAndScrollsToTheCursor) {
  auto program = Start("dialog", {"40"});
  ASSERT_TRUE(program->WaitForText("[> OK <]"));
  program->Type(kTab);
  std::string typed = "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHI";
  program->Type(typed);
  // 18 columns inside the brackets: the last 17 of the 40 accepted
  // characters and the cursor behind them.
  ASSERT_TRUE(program->WaitForText("[nopqrstuvwxyzABCD ]")) << program->Screen().Text();
  auto [row, col] = program->Screen().Find("[nopqrstuvwxyzABCD ]");
  EXPECT_EQ(program->Screen().CursorRow(), row);
  EXPECT_EQ(program->Screen().CursorCol(), col + 18);
  program->Type(kHome);
  ASSERT_TRUE(program->WaitForText("[0123456789abcdefgh]")) << program->Screen().Text();
  program->Type("\x1b");
  ASSERT_EQ(program->WaitForExit(), 0);
  EXPECT_TRUE(HasEvent("text " + typed.substr(0, 40)));
}

TEST_F(TerminalWindows, ResizedTerminalKeepsTheWindowCentred) {
  auto program = Start("dialog");
  ASSERT_TRUE(program->WaitForText("Probe Window"));
  program->Resize(30, 100);
  ASSERT_TRUE(program->WaitUntil([](const VtScreen& screen) { return screen.Find(" Probe Window ").second == 21; }))
      << program->Screen().Text();
  EXPECT_EQ(program->Screen().Find(" Probe Window ").first, 8);
  program->Type("\x1b");
  EXPECT_EQ(program->WaitForExit(), 0);
}

TEST_F(TerminalWindows, MessageBoxesAnswerAsTheirKindAllows) {
  auto program = Start("messagebox");
  ASSERT_TRUE(program->WaitForText("Go on with the check?"));
  EXPECT_TRUE(program->Screen().Contains("[> Yes <]"));
  EXPECT_TRUE(program->Screen().Contains("[ No ]"));
  // Escape cannot answer a yes-or-no question: Enter on Yes does.
  program->Type("\x1b");
  program->Type("\r");
  ASSERT_TRUE(WaitForEvent(*program, "yesno 6"));
  ASSERT_TRUE(program->WaitForText("Invalid URL."));
  auto [first, firstCol] = program->Screen().Find("Invalid URL.");
  auto [second, secondCol] = program->Screen().Find("Please check your URL setting and try again.");
  EXPECT_EQ(second, first + 1) << program->Screen().Text();
  EXPECT_EQ(secondCol, firstCol);
  program->Type("\x1b");
  ASSERT_EQ(program->WaitForExit(), 0);
  EXPECT_TRUE(HasEvent("ok 1"));
}

TEST_F(TerminalWindows, ModelessWindowStaysDrawnWhileTheProgramIsBusy) {
  auto program = Start("waiting");
  // The program reads no input while it is busy; only Show and Flush draw.
  ASSERT_TRUE(program->WaitForText("Working on it."));
  EXPECT_TRUE(program->Screen().Contains("Please wait"));
  EXPECT_FALSE(HasEvent("closed")) << "the window must be on screen during the busy time, not after";
  ASSERT_TRUE(WaitForEvent(*program, "closed"));
  EXPECT_TRUE(program->WaitForNoText("Working on it.")) << "a destroyed window leaves the screen at once";
  EXPECT_EQ(program->WaitForExit(), 0);
}

TEST_F(TerminalWindows, TerminalIsGivenBackAfterExit) {
  auto program = Start("exit");
  EXPECT_EQ(program->WaitForExit(), 1);
  const std::string& output = program->Output();
  // The screen the windows were on is left, as the last thing written.
  std::size_t enter = output.rfind("\x1b[?1049h");
  std::size_t leave = output.rfind("\x1b[?1049l");
  ASSERT_NE(leave, std::string::npos) << "the alternate screen was never left";
  EXPECT_GT(leave, enter);
  EXPECT_FALSE(program->Screen().AlternateScreen());
  // Line editing and echo are back on for the shell.
  termios modes{};
  ASSERT_EQ(tcgetattr(program->MasterFd(), &modes), 0);
  EXPECT_TRUE(modes.c_lflag & ICANON);
  EXPECT_TRUE(modes.c_lflag & ECHO);
}

TEST_F(TerminalWindows, ClosedTerminalEndsTheProgram) {
  auto program = Start("dialog");
  ASSERT_TRUE(program->WaitForText("Probe Window"));
  program->CloseTerminal();
  std::optional<int> status = program->WaitForExit();
  ASSERT_TRUE(status) << "the program went on waiting for keys from a terminal that is gone";
  int signal = 0;
  EXPECT_TRUE(program->Killed(&signal));
  EXPECT_EQ(signal, SIGHUP);
}

TEST_F(TerminalWindows, UnusableTerminalIsRefusedWithAReason) {
  struct Case {
    std::vector<std::string> environment;
    const char* reason;
  } cases[] = {
      {{"TERM=dumb"}, "cannot place the cursor"},
      {{}, "TERM is not set"},
      {{"TERM=no-such-terminal-type"}, "is not known"},
  };
  for (const Case& c : cases) {
    fs::remove(log_);
    auto program = Start("dialog", {}, c.environment);
    EXPECT_EQ(program->WaitForExit(), 2);
    std::vector<std::string> events = Events();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_NE(events[0].find(c.reason), std::string::npos) << events[0];
  }
}

TEST_F(TerminalWindows, NoTerminalAtAllIsRefusedWithAReason) {
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    int devNull = open("/dev/null", O_RDWR);
    dup2(devNull, 0);
    dup2(devNull, 1);
    dup2(devNull, 2);
    setenv("TERM", "xterm", 1);
    execl(TERMINAL_PROBE, TERMINAL_PROBE, "dialog", log_.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 2);
  std::vector<std::string> events = Events();
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0], "no terminal: standard input and output are not a terminal");
}

}  // namespace
}  // namespace corvane::testing
