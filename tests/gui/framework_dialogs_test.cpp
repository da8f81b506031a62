// The framework's dialogs on real windows: every launcher template opens
// centred on the screen, and Enter, Escape and the close box give the
// dialog's result, as a person at the X server makes them.
#include <X11/keysym.h>
#include <gtest/gtest.h>

#include "framework/afxwin.h"
#include "gui_session.h"
#include "resource_ids.h"
#include "resources.h"

namespace corvane::guitest {
namespace {

using namespace std::chrono_literals;

class FrameworkDialogTest : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    res::SetCurrentModule(&LauncherResources());
  }
  void TearDown() override { res::SetCurrentModule(nullptr); }

  bool Centred(Window window) {
    const ui::Size screen = Windows().ScreenSize();
    const WindowBox box = User().Box(window);
    return box.x == (screen.width - box.width) / 2 && box.y == (screen.height - box.height) / 2;
  }
};

TEST_F(FrameworkDialogTest, EveryModalLauncherDialogOpensCentredAndEndsAsItsKeysSay) {
  struct Case {
    unsigned id;
    const char* act;  // what the user does
    INT_PTR result;
  };
  const std::vector<Case> cases = {
      {IDD_LAUNCHER_DIALOG, "enter", IDOK},   {IDD_LAUNCHER_DIALOG, "escape", IDCANCEL},
      {IDD_LAUNCHER_DIALOG, "close", IDCANCEL}, {IDD_DEVICE_URL, "escape", IDCANCEL},
      {IDD_DEVICE_URL, "close", IDCANCEL},    {IDD_CONNECT_FAILED, "enter", IDOK},
      {IDD_CONNECT_FAILED, "close", IDCANCEL}, {IDD_NO_BROWSER, "enter", IDOK},
      {IDD_NO_BROWSER, "escape", IDCANCEL},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("template " + std::to_string(c.id) + ", " + c.act);
    const std::string caption = LauncherResources().FindDialog(static_cast<int>(c.id))->caption;
    bool centred = false;
    WhenReady([&] { return User().FindWindow(caption).has_value(); },
              [&] {
                const auto window = User().FindWindow(caption);
                if (!window) return;  // DoModal's result then fails the case
                centred = Centred(*window);
                const WindowBox box = User().Box(*window);
                User().MovePointer(box.x + box.width / 2, box.y + 2);
                const std::string act = c.act;
                if (act == "enter") User().Key(XK_Return);
                if (act == "escape") User().Key(XK_Escape);
                if (act == "close") User().RequestClose(*window);
              });
    CDialog dialog(c.id);
    EXPECT_EQ(dialog.DoModal(), c.result);
    EXPECT_TRUE(centred);
    PumpUntil([&] { return !User().FindWindow(caption); }, 2s);
  }
}

TEST_F(FrameworkDialogTest, TheWaitingWindowIsCentredOnScreenFromCreateUntilDestroyWindow) {
  CDialog waiting(IDD_WAITING);
  ASSERT_TRUE(waiting.Create(IDD_WAITING));
  // On the screen and drawn without any dispatching of ours.
  const auto window = User().FindWindow("Corvane");
  ASSERT_TRUE(window);
  EXPECT_TRUE(Centred(*window));
  EXPECT_GT(User().Grab(*window).DarkPixels(), 50);
  waiting.DestroyWindow();
  EXPECT_FALSE(User().FindWindow("Corvane"));
}

}  // namespace
}  // namespace corvane::guitest
