// The launcher's dialogs as real windows: placement, drawing, keys, the
// close box, tab order and the URL field's limit, driven by XTest input.
#include <FL/Fl.H>
#include <X11/keysym.h>
#include <gtest/gtest.h>

#include "framework/fltk_window_system.h"
#include "gui_session.h"
#include "resource_ids.h"
#include "resources.h"

namespace corvane::guitest {
namespace {

const res::DialogTemplate& Template(unsigned id) {
  const res::DialogTemplate* dialog = LauncherResources().FindDialog(static_cast<int>(id));
  if (!dialog) throw std::runtime_error("no template " + std::to_string(id));
  return *dialog;
}

class DialogWindowTest : public GuiTest {
 protected:
  std::unique_ptr<OpenDialog> OpenLauncher(unsigned id) {
    auto open = Open(Template(id), LauncherResources());
    EXPECT_NE(open->xid, 0u) << "template " << id << " is not on the screen";
    const WindowBox box = User().Box(open->xid);
    User().MovePointer(box.x + box.width / 2, box.y + box.height / 2);
    return open;
  }
  // Presses a key and waits until the host heard of it.
  void Press(OpenDialog& open, unsigned long keysym, std::size_t eventsAfter) {
    User().Key(keysym);
    PumpUntil([&] { return open.host.events.size() >= eventsAfter; });
  }
};

TEST_F(DialogWindowTest, EachDialogOpensCentredAtItsTemplateSizeAndIsDrawnWhenShown) {
  const ui::BaseUnits units = ui::FltkDialogBaseUnits(8);
  // MS Sans Serif 8 pt at 96 dpi gives 6 x 13; a sans-serif stand-in lands near it.
  EXPECT_GE(units.x, 5);
  EXPECT_LE(units.x, 8);
  EXPECT_GE(units.y, 11);
  EXPECT_LE(units.y, 16);
  const ui::Size screen = Windows().ScreenSize();
  for (unsigned id : {IDD_LAUNCHER_DIALOG, IDD_DEVICE_URL, IDD_WAITING, IDD_CONNECT_FAILED,
                      IDD_NO_BROWSER}) {
    SCOPED_TRACE("template " + std::to_string(id));
    const res::DialogTemplate& dialog = Template(id);
    auto open = OpenLauncher(id);
    // Grabbed at once, without dispatching: Show() returns with the window drawn.
    const Capture shown = User().Grab(open->xid);
    const WindowBox box = User().Box(open->xid);
    EXPECT_EQ(box.width, units.ToPixelsX(dialog.cx));
    EXPECT_EQ(box.height, units.ToPixelsY(dialog.cy));
    EXPECT_EQ(box.x, (screen.width - box.width) / 2);
    EXPECT_EQ(box.y, (screen.height - box.height) / 2);
    EXPECT_GT(shown.DarkPixels(), 50) << "no text on the window";
    EXPECT_EQ(shown.At(box.width - 2, box.height - 2), 0xC0C0C0u) << "not the 3-D face colour";
  }
}

TEST_F(DialogWindowTest, KeysAndButtonsReachTheHost) {
  auto open = OpenLauncher(IDD_LAUNCHER_DIALOG);
  Press(*open, XK_Return, 1);
  Press(*open, XK_KP_Enter, 2);
  Press(*open, XK_Escape, 3);
  Press(*open, XK_F1, 4);
  // The URL... button, by its template rectangle.
  const res::ControlTemplate* urlButton = Template(IDD_LAUNCHER_DIALOG).FindControl(IDC_URL_BUTTON);
  ASSERT_NE(urlButton, nullptr);
  const ui::BaseUnits units = ui::FltkDialogBaseUnits(8);
  const WindowBox box = User().Box(open->xid);
  User().Click(box.x + units.ToPixelsX(urlButton->x + urlButton->cx / 2),
               box.y + units.ToPixelsY(urlButton->y + urlButton->cy / 2));
  PumpUntil([&] { return open->host.events.size() >= 5; });
  // Space presses the button that has the focus (the click gave it to URL...).
  Press(*open, XK_space, 6);
  EXPECT_EQ(open->host.events, (std::vector<std::string>{"enter 1", "enter 1", "escape", "help",
                                                         "button 1000", "button 1000"}));
}

TEST_F(DialogWindowTest, TabWalksTheControlsInTemplateOrder) {
  struct Walk {
    unsigned id;
    std::vector<std::string> focusAfterEachTab;
  };
  for (const Walk& walk : {Walk{IDD_LAUNCHER_DIALOG, {"enter 2", "enter 1000", "enter 1"}},
                           Walk{IDD_DEVICE_URL, {"enter 1000", "enter 2", "enter 1"}},
                           Walk{IDD_CONNECT_FAILED, {"enter 1004", "enter 1"}}}) {
    SCOPED_TRACE("template " + std::to_string(walk.id));
    auto open = OpenLauncher(walk.id);
    std::size_t expected = 0;
    for (std::size_t i = 0; i < walk.focusAfterEachTab.size(); ++i) {
      User().Key(XK_Tab);
      Press(*open, XK_Return, ++expected);
    }
    EXPECT_EQ(open->host.events, walk.focusAfterEachTab);
  }
}

TEST_F(DialogWindowTest, TheFocusThatTheFrameworkSetsIsTheOneEnterReports) {
  auto open = Open(Template(IDD_DEVICE_URL), LauncherResources());
  open->native->SetFocus(IDC_DEVICE_URL);
  const WindowBox box = User().Box(open->xid);
  User().MovePointer(box.x + 5, box.y + 5);
  Press(*open, XK_Return, 1);
  EXPECT_EQ(open->host.events, std::vector<std::string>{"enter 1000"});
}

TEST_F(DialogWindowTest, TheCloseBoxIsOfferedAndReportedOnlyWithASystemMenu) {
  auto urlDialog = OpenLauncher(IDD_DEVICE_URL);
  auto waiting = OpenLauncher(IDD_WAITING);
  auto urlHints = User().MotifFunctions(urlDialog->xid);
  auto waitingHints = User().MotifFunctions(waiting->xid);
  ASSERT_TRUE(urlHints && waitingHints) << "no window manager hints";
  EXPECT_TRUE(*urlHints & kMotifFunctionClose);
  EXPECT_FALSE(*waitingHints & kMotifFunctionClose);

  User().RequestClose(waiting->xid);
  User().RequestClose(urlDialog->xid);
  PumpUntil([&] { return !urlDialog->host.events.empty(); });
  PumpFor(std::chrono::milliseconds(100));
  EXPECT_EQ(urlDialog->host.events, std::vector<std::string>{"close"});
  EXPECT_TRUE(waiting->host.events.empty());
  EXPECT_TRUE(User().FindWindow("Corvane")) << "a delete request took the waiting window away";
}

TEST_F(DialogWindowTest, TheWaitingWindowHasNoButtonAndStaysDrawnWhileTheProgramIsBusy) {
  auto waiting = OpenLauncher(IDD_WAITING);
  const Capture before = User().Grab(waiting->xid);
  // Nothing takes the focus: Enter reports no control, Tab finds none.
  User().Key(XK_Tab);
  Press(*waiting, XK_Return, 1);
  EXPECT_EQ(waiting->host.events, std::vector<std::string>{"enter 0"});

  // Busy: nothing is dispatched, only Flush() is called, as the launcher's
  // poll loop does. Another window covers ours and goes away meanwhile.
  User().CoverAndUncover(User().Box(waiting->xid));
  for (int i = 0; i < 20; ++i) {
    Windows().Flush();
    usleep(5000);
  }
  const Capture after = User().Grab(waiting->xid);
  EXPECT_EQ(after.pixels, before.pixels);

  const Window xid = waiting->xid;
  waiting.reset();
  PumpUntil([&] { return User().ViewableWindows().empty(); }, std::chrono::milliseconds(500));
  for (Window w : User().ViewableWindows()) EXPECT_NE(w, xid) << "destroyed but still on the screen";
}

TEST_F(DialogWindowTest, TheUrlFieldHoldsAtMost255CharactersHoweverItIsFilled) {
  auto open = OpenLauncher(IDD_DEVICE_URL);
  ui::NativeDialog& dialog = *open->native;
  dialog.LimitText(IDC_DEVICE_URL, 255);
  const std::string longUrl = "http://10.0.0.1/" + std::string(300, 'a');

  dialog.SetControlText(IDC_DEVICE_URL, longUrl);  // a loaded value
  EXPECT_EQ(dialog.ControlText(IDC_DEVICE_URL), longUrl.substr(0, 255));

  dialog.SetControlText(IDC_DEVICE_URL, "");
  dialog.SetFocus(IDC_DEVICE_URL);
  PumpFor(std::chrono::milliseconds(50));
  Fl::copy(longUrl.c_str(), static_cast<int>(longUrl.size()), 1);  // on the clipboard
  User().Key(XK_v, /*control=*/true);
  PumpUntil([&] { return !dialog.ControlText(IDC_DEVICE_URL).empty(); });
  EXPECT_EQ(dialog.ControlText(IDC_DEVICE_URL), longUrl.substr(0, 255));

  User().Type("xyz");  // typing at the limit changes nothing
  PumpFor(std::chrono::milliseconds(200));
  EXPECT_EQ(dialog.ControlText(IDC_DEVICE_URL), longUrl.substr(0, 255));

  // Below the limit typing works, and scrolls the field rather than stopping.
  dialog.SetControlText(IDC_DEVICE_URL, std::string(250, 'b'));
  User().Key(XK_End);
  User().Type("cdefgh");
  PumpUntil([&] { return dialog.ControlText(IDC_DEVICE_URL).size() >= 255; });
  EXPECT_EQ(dialog.ControlText(IDC_DEVICE_URL), std::string(250, 'b') + "cdefg");
}

}  // namespace
}  // namespace corvane::guitest
