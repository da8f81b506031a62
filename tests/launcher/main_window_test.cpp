// The main window: its URL line, the "URL..." button, its icons.
#include "launcher_fixture.h"
#include "shared/main_icon_dlg.h"

namespace corvane::testing {
namespace {

class MainWindowTest : public LauncherTest {
 protected:
  void InMainWindow(std::vector<script::Act> acts) {
    acts.push_back(user::Press(IDCANCEL));
    script.InDialog(IDD_LAUNCHER_DIALOG, std::move(acts));
  }
};

TEST_F(MainWindowTest, CarriesTheProgramIconBigAndSmallAndFocusesOk) {
  InMainWindow({user::Check([](const script::ScriptedDialog& d) {
    EXPECT_TRUE(d.HasIcon(ui::IconSize::Big));
    EXPECT_TRUE(d.HasIcon(ui::IconSize::Small));
    EXPECT_EQ(d.Focus(), IDOK);
  })});
  Run();
  ExpectInOrder({"icon 102 big", "icon 102 small", "open 102 \"Corvane V1.2\" centred"});
}

TEST_F(MainWindowTest, CancelInTheUrlDialogShowsTheStoredValueAgain) {
  InMainWindow({user::Press(IDC_URL_BUTTON)});
  script.InDialog(IDD_DEVICE_URL, {user::Type(IDC_DEVICE_URL, "10.0.0.1"), user::Press(IDCANCEL)});
  Run();
  EXPECT_EQ(transcript.Matching("text 102:1002").size(), 2u);
  EXPECT_EQ(transcript.Matching("text 102:1002").back(), "text 102:1002 \"http://10.0.0.9/index.htm\"");
}

TEST_F(MainWindowTest, AFileChangedByHandIsShownAfterTheUrlDialogEvenWhenCancelled) {
  InMainWindow({user::Press(IDC_URL_BUTTON)});
  script.InDialog(IDD_DEVICE_URL, {user::Check([this](const script::ScriptedDialog&) {
                                     dir.Write("current.cfg", "[init]\nDevURL=http://10.1.1.1/\n");
                                   }),
                                   user::Escape()});
  Run();
  EXPECT_EQ(transcript.Matching("text 102:1002").back(), "text 102:1002 \"http://10.1.1.1/\"");
}

TEST_F(MainWindowTest, NotMinimizedPaintingIsTheDefault) {
  InMainWindow({user::Paint(false, RECT{0, 0, 363, 125})});
  Run();
  ExpectInOrder({"paint 102 default"});
  ExpectNo("paint 102 draw-icon");
}

// Minimized, the icon is drawn centred: (client - icon + 1) / 2, truncating toward zero.
TEST_F(MainWindowTest, MinimizedTheIconIsDrawnCentred) {
  struct Case {
    LONG width, height;
    std::string drawn;
  };
  for (const Case& c : {Case{36, 36, "2,2"}, Case{30, 31, "0,0"}, Case{29, 40, "-1,4"}, Case{32, 33, "0,1"}}) {
    script::Transcript local;
    UserScript localScript;
    localScript.InDialog(IDD_LAUNCHER_DIALOG, {user::Paint(true, RECT{0, 0, c.width, c.height}), user::Press(IDCANCEL)});
    script::ScriptWindowSystem scripted{localScript, local};
    app.InitInstance();
    EXPECT_TRUE(local.HasInOrder({"paint 102 erase-icon-background", "paint 102 draw-icon " + c.drawn}))
        << c.width << "x" << c.height << "\n" << local.Text();
  }
}

}  // namespace
}  // namespace corvane::testing
