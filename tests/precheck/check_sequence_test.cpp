// readyscan's check sequence, path by path, on a hive file per case.
#include <fstream>
#include <sstream>

#include "precheck_fixture.h"
#include "shared/browser_lookup.h"

namespace corvane::testing {
namespace {

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

// Every check passes on the sample hive; OK starts the setup program.
TEST_F(PrecheckSequenceTest, TheSampleHivePassesEveryCheckAndOkStartsSetup) {
  std::ifstream sample(CORVANE_SAMPLE_HIVE, std::ios::binary);
  std::ostringstream text;
  text << sample.rdbuf();
  UseHiveText(text.str());
  script.InDialog(IDD_INSTALL_DIALOG, {user::Check([](const script::ScriptedDialog& dialog) {
                                         EXPECT_EQ(dialog.Focus(), IDOK);
                                       }),
                                       user::Press(IDOK)});
  Run();
  EXPECT_EQ(transcript.Lines(), (std::vector<std::string>{"icon 102 big", "icon 102 small", kOpenMain,
                                                          "press 102:1", "close 102", kSetupLine}));
}

// Path 1: anything but exactly "Windows 95", or nothing readable: the box,
// then the end.
TEST_F(PrecheckSequenceTest, AnyOtherVersionEndsAfterTheWindows95Box) {
  const struct {
    const char* what;
    Machine machine;
  } cases[] = {
      {"a later release", {.version = "\"Version\"=\"Windows 98\""}},
      {"lower case", {.version = "\"Version\"=\"windows 95\""}},
      {"trailing blank", {.version = "\"Version\"=\"Windows 95 \""}},
      {"no Version value", {.version = std::nullopt}},
      {"no version key", {.versionKey = false}},
      {"too long for the buffer", {.version = "\"Version\"=\"Windows 95" + std::string(300, ' ') + "\""}},
      {"not text", {.version = "\"Version\"=dword:00000095"}},
  };
  for (const auto& c : cases) {
    UseMachine(c.machine);
    const std::string text = RunCase([](UserScript& s) { s.AnswerBox(IDOK); });
    EXPECT_EQ(text, "  " + kNotWindows95Box + " -> 1\n") << c.what;
  }
}

// Path 2 and its neighbours: on an English system the registry decides.
TEST_F(PrecheckSequenceTest, EnglishSystemsTestDialUpNetworkingInTheRegistry) {
  const struct {
    const char* what;
    LCID locale;
    Machine machine;
    bool installed;
  } cases[] = {
      {"description found", 0x0409, {}, true},
      {"British English", 0x0809, {}, true},
      {"the Microsoft description", 0x0C09, {.description = "\"Description\"=\"Microsoft Dial-Up Networking\""}, true},
      {"key without a description", 0x0409, {.description = std::nullopt}, true},
      {"description too long to read", 0x0409, {.description = "\"Description\"=\"" + std::string(300, 'D') + "\""}, true},
      {"no NetworkProvider key", 0x0409, {.dialUpKey = false}, false},
      {"one letter in another case", 0x0809, {.description = "\"Description\"=\"Dial-up Networking\""}, false},
      {"empty description", 0x0409, {.description = "\"Description\"=\"\""}, false},
  };
  for (const auto& c : cases) {
    UseMachine(c.machine);
    UseLocale(c.locale);
    if (c.installed) {
      const std::string text = RunCase([](UserScript& s) { s.InDialog(IDD_INSTALL_DIALOG, {user::Escape()}); });
      EXPECT_EQ(text.find("box owner"), std::string::npos) << c.what << "\n" << text;
    } else {
      const std::string text = RunCase([](UserScript& s) { s.AnswerBox(IDOK); });
      EXPECT_EQ(text, "  " + kNoDialUpBox + " -> 1\n") << c.what;
    }
  }
}

// Path 3: any other language is asked, even where Dial-Up Networking is
// installed; No, or a box that fails, ends quietly.
TEST_F(PrecheckSequenceTest, OtherLanguagesAreAskedAndNoEndsQuietly) {
  for (const LCID lcid : {0x0407u, 0x040Cu}) {
    UseLocale(lcid);
    for (const int answer : {IDNO, 0}) {
      const std::string text = RunCase([&](UserScript& s) { s.AnswerBox(answer); });
      EXPECT_EQ(text, "  " + kCannotCheckBox + " -> " + std::to_string(answer) + "\n") << lcid;
    }
  }
}

TEST_F(PrecheckSequenceTest, YesSkipsEveryTestOfDialUpNetworking) {
  UseMachine({.dialUpKey = false});
  UseLocale(0x0407);
  script.AnswerBox(IDYES).InDialog(IDD_INSTALL_DIALOG, {user::Press(IDOK)});
  Run();
  ExpectInOrder({kCannotCheckBox + " -> 6", kOpenMain, kSetupLine});
  EXPECT_EQ(transcript.Matching("box owner").size(), 1u) << transcript.Text();
}

// Paths 4 and 5: Exit, Escape or the close box on a warning ends the process
// with status 1 at once. A later dialog would have no scene and fail the run.
TEST_F(PrecheckSequenceTest, LeavingAWarningWithExitEndsWithStatusOne) {
  const struct {
    const char* what;
    Machine machine;
    int warning;
  } cases[] = {
      {"SLIP missing, browser missing too", {.slipKey = false, .htmlKey = false}, IDD_NO_SLIP},
      {"browser missing", {.htmlKey = false}, IDD_NO_BROWSER_WARN},
  };
  for (const auto& c : cases) {
    UseMachine(c.machine);
    for (const script::Act& act : {user::Press(IDCANCEL), user::Escape(), user::CloseBox()}) {
      UserScript local;
      local.InDialog(c.warning, {act});
      script::ScriptWindowSystem scripted{local, transcript};
      EXPECT_EXIT(app.InitInstance(), ::testing::ExitedWithCode(1), "") << c.what;
    }
  }
}

// SLIP and browser both missing: two warnings, SLIP first; OK and Enter go on.
TEST_F(PrecheckSequenceTest, OkOnBothWarningsGoesOnToTheMainDialogInOrder) {
  UseMachine({.slipKey = false, .commandKey = false});
  const auto focusOnOk = user::Check([](const script::ScriptedDialog& dialog) { EXPECT_EQ(dialog.Focus(), IDOK); });
  script.InDialog(IDD_NO_SLIP, {focusOnOk, user::Press(IDOK)})
      .InDialog(IDD_NO_BROWSER_WARN, {focusOnOk, user::Enter()})
      .InDialog(IDD_INSTALL_DIALOG, {user::Press(IDOK)});
  Run();
  ExpectInOrder({kOpenNoSlip, "press 129:1", "close 129", kOpenNoBrowser, "enter 132", "close 132", kOpenMain,
                 kSetupLine});
}

// Each way the browser walk can fail brings the warning; a command of 300
// characters does not, though the launcher's lookup finds no browser in it.
TEST_F(PrecheckSequenceTest, TheBrowserTestOnlyAsksWhetherTheCommandExists) {
  const std::string longCommand = "@=\"/usr/bin/" + std::string(288, 'b') + " %1\"";
  const struct {
    const char* what;
    Machine machine;
    bool warned;
  } cases[] = {
      {"no .html key", {.htmlKey = false}, true},
      {".html without a class name", {.htmlNamesClass = false}, true},
      {"class without shell\\open\\command", {.commandKey = false}, true},
      {"command key without a default value", {.command = std::nullopt}, true},
      {"class name too long for the buffer", {.className = std::string(300, 'c')}, true},
      {"class name in another case", {.className = "HTMLFile"}, false},
      {"command of 300 characters", {.command = longCommand}, false},
      {"empty command", {.command = "@=\"\""}, false},
  };
  for (const auto& c : cases) {
    UseMachine(c.machine);
    const std::string text = RunCase([&](UserScript& s) {
      if (c.warned) s.InDialog(IDD_NO_BROWSER_WARN, {user::Press(IDOK)});
      s.InDialog(IDD_INSTALL_DIALOG, {user::Escape()});
    });
    EXPECT_EQ(text.find(kOpenNoBrowser) != std::string::npos, c.warned) << c.what << "\n" << text;
  }

  UseMachine({.command = longCommand});
  CString command;
  EXPECT_TRUE(HasDefaultBrowser());
  EXPECT_FALSE(GetBrowserCommand(command)) << "the launcher reads at most 255 characters";
}

// Path 6: the main dialog left otherwise than with OK starts nothing. It has
// no close box, so a close request is ignored.
TEST_F(PrecheckSequenceTest, LeavingTheMainDialogOtherwiseStartsNothing) {
  const std::vector<std::vector<script::Act>> cases = {
      {user::Press(IDCANCEL)}, {user::Escape()}, {user::CloseBox(), user::Escape()}};
  for (const auto& acts : cases) {
    const std::string text = RunCase([&](UserScript& s) { s.InDialog(IDD_INSTALL_DIALOG, acts); });
    EXPECT_EQ(text.find("WinExec"), std::string::npos) << text;
    EXPECT_EQ(text.find("box owner"), std::string::npos) << text;
  }
  EXPECT_TRUE(processes.commandLines.empty());
}

// The main dialog shares the launcher's icon behaviour: its icon drawn
// centred while minimised, default painting otherwise.
TEST_F(PrecheckSequenceTest, TheMainDialogDrawsItsIconWhileMinimised) {
  script.InDialog(IDD_INSTALL_DIALOG,
                  {user::Paint(false, RECT{0, 0, 318, 132}), user::Paint(true, RECT{0, 0, 36, 36}), user::Escape()});
  Run();
  ExpectInOrder({"icon 102 big", "icon 102 small", kOpenMain, "paint 102 default", "paint 102 erase-icon-background",
                 "paint 102 draw-icon 2,2"});
}

// Paths 7 to 9: only "file not found" and "path not found" are reported.
TEST_F(PrecheckSequenceTest, OnlyTheTwoNotFoundResultsOfTheSetupStartAreReported) {
  const struct {
    UINT result;
    std::optional<std::string> box;
  } cases[] = {{2, kFileNotFoundBox}, {3, kPathNotFoundBox}, {11, std::nullopt}, {0, std::nullopt},
               {33, std::nullopt}};
  for (const auto& c : cases) {
    processes.result = c.result;
    const std::string text = RunCase([&](UserScript& s) {
      s.InDialog(IDD_INSTALL_DIALOG, {user::Enter()});
      if (c.box) s.AnswerBox(IDOK);
    });
    const std::string expectedEnd = kSetupLine + "\n" + (c.box ? "  " + *c.box + " -> 1\n" : "");
    EXPECT_TRUE(text.ends_with(expectedEnd)) << c.result << "\n" << text;
  }
}

}  // namespace
}  // namespace corvane::testing
