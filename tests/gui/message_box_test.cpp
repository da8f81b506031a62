// Message boxes as the user meets them: layout, the default button, and what
// Enter, Escape and the close box give.
#include <X11/keysym.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "gui_session.h"
#include "resource_ids.h"
#include "resources.h"
#include "win32/user.h"

namespace corvane::guitest {
namespace {

class MessageBoxTest : public GuiTest {
 protected:
  // Shows a box and, once it is on the screen, lets `user` act on it.
  int Run(const std::string& text, UINT type, std::function<void(Window)> user) {
    WhenReady([this] { return User().FindWindow("Corvane").has_value(); },
              [this, user] {
                if (const auto box = User().FindWindow("Corvane")) ActOn(*box, user, kTries);
              });
    return Windows().ShowMessageBox(nullptr, text, "Corvane", type);
  }

 private:
  static constexpr int kTries = 3;

  bool Shown(Window box) {
    const std::vector<Window> shown = User().ViewableWindows();
    return std::find(shown.begin(), shown.end(), box) != shown.end();
  }

  // A key that reaches the box before it takes input is lost, and the box
  // would wait for ever: while this very box is still up, the user acts again.
  void ActOn(Window box, std::function<void(Window)> user, int triesLeft) {
    const WindowBox where = User().Box(box);
    User().MovePointer(where.x + 3, where.y + 3);
    user(box);
    if (triesLeft <= 1) return;
    WhenReady([this, box] { return !Shown(box); },
              [this, box, user, triesLeft] {
                if (Shown(box)) ActOn(box, user, triesLeft - 1);
              });
  }
};

TEST_F(MessageBoxTest, TheInvalidUrlMessageShowsOnTwoLinesCentredAndOkEndsIt) {
  const std::string* text = LauncherResources().FindString(IDS_INVALID_URL);
  ASSERT_NE(text, nullptr);
  Capture seen;
  WindowBox where{};
  const int result = Run(*text, MB_OK, [&](Window box) {
    seen = User().Grab(box);
    where = User().Box(box);
    User().Key(XK_Return);
  });
  EXPECT_EQ(result, IDOK);
  ASSERT_GT(seen.height, 0);
  const ui::Size screen = Windows().ScreenSize();
  EXPECT_EQ(where.x, (screen.width - where.width) / 2);
  EXPECT_EQ(where.y, (screen.height - where.height) / 2);
  // The text sits above the button row: the upper part of the box.
  const int buttonsTop = seen.height * 55 / 100;
  EXPECT_EQ(seen.TextLines(0, 0, seen.width, buttonsTop), 2);
}

TEST_F(MessageBoxTest, ALongTextWrapsToAReadableWidth) {
  std::string words;
  for (int i = 0; i < 40; ++i) words += "Dialup Networking ";
  WindowBox where{};
  Run(words, MB_OK, [&](Window box) {
    where = User().Box(box);
    User().Key(XK_Return);
  });
  EXPECT_LT(where.width, Windows().ScreenSize().width * 3 / 4);
  EXPECT_GT(where.height, where.width / 8) << "one endless line";
}

TEST_F(MessageBoxTest, EnterEscapeAndTheCloseBoxGiveTheResultsOfTheBoxType) {
  struct Case {
    const char* what;
    UINT type;
    std::function<void(XUser&, Window)> act;
    int result;
  };
  const std::vector<Case> cases = {
      {"Enter on OK", MB_OK, [](XUser& u, Window) { u.Key(XK_Return); }, IDOK},
      {"Escape on OK", MB_OK, [](XUser& u, Window) { u.Key(XK_Escape); }, IDOK},
      {"close box on OK", MB_OK, [](XUser& u, Window w) { u.RequestClose(w); }, IDOK},
      {"Enter on Yes/No", MB_YESNO, [](XUser& u, Window) { u.Key(XK_Return); }, IDYES},
      {"Tab then Enter on Yes/No", MB_YESNO,
       [](XUser& u, Window) { u.Key(XK_Tab); u.Key(XK_Return); }, IDNO},
      // Escape and the close box do nothing here: the No that follows decides.
      {"Escape, close box, then N", MB_YESNO,
       [](XUser& u, Window w) { u.Key(XK_Escape); u.RequestClose(w); u.Key(XK_n); }, IDNO},
      {"Escape on OK/Cancel", MB_OKCANCEL, [](XUser& u, Window) { u.Key(XK_Escape); }, IDCANCEL},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Run("Setup could not check for Dialup Networking.", c.type,
                  [&](Window box) { c.act(User(), box); }),
              c.result);
  }
}

TEST_F(MessageBoxTest, ABoxThatCannotCloseByEscapeOffersNoCloseBox) {
  std::optional<unsigned long> yesNo, ok;
  Run("question", MB_YESNO, [&](Window box) { yesNo = User().MotifFunctions(box); User().Key(XK_y); });
  Run("note", MB_OK, [&](Window box) { ok = User().MotifFunctions(box); User().Key(XK_Return); });
  ASSERT_TRUE(yesNo && ok);
  EXPECT_FALSE(*yesNo & kMotifFunctionClose);
  EXPECT_TRUE(*ok & kMotifFunctionClose);
}

TEST_F(MessageBoxTest, ABoxOverADialogTakesTheInputAndTheDialogGetsItBackAfter) {
  const res::DialogTemplate* dialog = LauncherResources().FindDialog(IDD_DEVICE_URL);
  ASSERT_NE(dialog, nullptr);
  auto open = Open(*dialog, LauncherResources());
  const int result = Run("Invalid URL.", MB_OK, [&](Window) { User().Key(XK_Escape); });
  EXPECT_EQ(result, IDOK);
  EXPECT_TRUE(open->host.events.empty()) << "the dialog saw the box's key";
  // The keyboard is the dialog's again.
  User().Key(XK_Escape);
  PumpUntil([&] { return !open->host.events.empty(); });
  EXPECT_EQ(open->host.events, std::vector<std::string>{"escape"});
}

TEST_F(MessageBoxTest, AnUnknownBoxTypeIsNotShown) {
  EXPECT_EQ(Windows().ShowMessageBox(nullptr, "x", "Corvane", 0x5 /* MB_RETRYCANCEL */), 0);
  EXPECT_FALSE(User().FindWindow("Corvane"));
}

}  // namespace
}  // namespace corvane::guitest
