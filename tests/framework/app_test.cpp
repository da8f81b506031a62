#include <gtest/gtest.h>

#include "fake_services.h"
#include "framework/script_window_system.h"
#include "test_module.h"

namespace corvane::testing {
namespace {

TEST(CWinApp, TakesItsTitleAndHelpFileFromTheProgramFile) {
  CWinApp app;
  framework::InitApplicationNames(app, "/usr/lib/corvane/dialgate");
  EXPECT_STREQ(app.m_pszAppName, "dialgate");
  EXPECT_STREQ(app.m_pszExeName, "dialgate");
  EXPECT_STREQ(app.m_pszHelpFilePath, "/usr/lib/corvane/dialgate.hlp");
  EXPECT_EQ(AfxGetApp(), &app);

  CWinApp named("Given");
  framework::InitApplicationNames(named, "/bin/x");
  EXPECT_STREQ(named.m_pszAppName, "Given");
}

// ID_HELP, unhandled by a dialog, reaches the application's map.
class CHelpApp : public CWinApp {
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CHelpApp, CWinApp)
ON_COMMAND(ID_HELP, &CWinApp::OnHelp)
END_MESSAGE_MAP()

TEST(CWinApp, TheHelpCommandOpensTheTopicOfTheActiveDialog) {
  res::SetCurrentModule(&TestModule());
  FakeHelp help;
  platform::ScopedService<platform::Help> useHelp(help);
  script::Transcript transcript;
  script::UserScript script;
  script::ScriptWindowSystem windows(script, transcript);
  CHelpApp app;
  framework::InitApplicationNames(app, "/opt/x/prog");

  script.InDialog(kFormDialog, {script::user::HelpKey(), script::user::Escape()});
  CDialog dialog(kFormDialog);
  dialog.DoModal();
  EXPECT_TRUE(transcript.HasInOrder({"help-key 200", "WinHelpA \"/opt/x/prog.hlp\" 1 0x200C8"})) << transcript.Text();
  res::SetCurrentModule(nullptr);
}

}  // namespace
}  // namespace corvane::testing
