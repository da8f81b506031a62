// What every dialog gets from the framework, whichever window system draws it.
#include <gtest/gtest.h>

#include "framework/script_window_system.h"
#include "test_module.h"

namespace corvane::testing {
namespace {
namespace user = script::user;

class CFormDlg : public CDialog {
 public:
  CFormDlg() : CDialog(kFormDialog) {}
  CString m_strName;
  int actions = 0;

 protected:
  void DoDataExchange(CDataExchange* pDX) override { DDX_Text(pDX, kEditField, m_strName); }
  void OnAction() { ++actions; }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CFormDlg, CDialog)
ON_BN_CLICKED(kActionButton, &CFormDlg::OnAction)
END_MESSAGE_MAP()

class DialogTest : public ::testing::Test {
 protected:
  DialogTest() { res::SetCurrentModule(&TestModule()); }
  ~DialogTest() override { res::SetCurrentModule(nullptr); }

  script::Transcript transcript;
  script::UserScript script;
  script::ScriptWindowSystem windows{script, transcript};
};

TEST_F(DialogTest, ButtonsEnterEscapeAndTheCloseBoxEndTheDialog) {
  struct Case {
    script::Act act;
    INT_PTR result;
  } cases[] = {{user::Press(IDOK), IDOK},     {user::Press(IDCANCEL), IDCANCEL}, {user::Enter(), IDOK},
               {user::Escape(), IDCANCEL},    {user::CloseBox(), IDCANCEL}};
  for (const Case& c : cases) {
    script.InDialog(kFormDialog, {c.act});
    CFormDlg dialog;
    EXPECT_EQ(dialog.DoModal(), c.result);
  }
  EXPECT_TRUE(script.Done());
}

// Enter presses the focused push button, else the default one.
TEST_F(DialogTest, EnterPressesTheFocusedButtonOrTheDefaultOne) {
  CFormDlg dialog;
  script.InDialog(kFormDialog, {user::Type(kEditField, "x"), user::Enter()});
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(dialog.m_strName, "x");
}

TEST_F(DialogTest, MessageMapHandlersRunAndLeaveTheDialogOpen) {
  CFormDlg dialog;
  script.InDialog(kFormDialog, {user::Press(kActionButton), user::Press(kActionButton), user::Press(IDCANCEL)});
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_EQ(dialog.actions, 2);
}

TEST_F(DialogTest, DataExchangeFillsTheFieldAndReadsItBackOnOk) {
  CFormDlg dialog;
  dialog.m_strName = "before";
  script.InDialog(kFormDialog, {user::Check([](const script::ScriptedDialog& d) {
                                  EXPECT_EQ(d.ControlText(kEditField), "before");
                                  EXPECT_EQ(d.Focus(), kEditField);  // first tab stop in template order
                                }),
                                user::Type(kEditField, "after"), user::Press(IDOK)});
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(dialog.m_strName, "after");
}

TEST_F(DialogTest, CancelLeavesTheMemberAsItWas) {
  CFormDlg dialog;
  dialog.m_strName = "kept";
  script.InDialog(kFormDialog, {user::Type(kEditField, "typed"), user::Escape()});
  dialog.DoModal();
  EXPECT_EQ(dialog.m_strName, "kept");
}

TEST_F(DialogTest, AMissingTemplateGivesMinusOne) {
  CDialog dialog(999);
  EXPECT_EQ(dialog.DoModal(), -1);
  EXPECT_FALSE(dialog.Create(999));
  EXPECT_TRUE(transcript.Lines().empty());
}

// A window without a system menu offers no close box: a delete request is ignored.
TEST_F(DialogTest, NoCloseBoxWithoutASystemMenu) {
  CDialog dialog(kPlainDialog);
  script.InDialog(kPlainDialog, {user::CloseBox(), user::Check([](const script::ScriptedDialog& d) {
                                   EXPECT_TRUE(d.Shown());
                                 }),
                                 user::Escape()});
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
}

TEST_F(DialogTest, ModelessDialogsAreCentredOnScreenAndGoWithDestroyWindow) {
  CDialog waiting(kPlainDialog);
  ASSERT_TRUE(waiting.Create(kPlainDialog));
  EXPECT_TRUE(transcript.Has("open 201 \"Plain\" centred"));
  EXPECT_TRUE(waiting.DestroyWindow());
  EXPECT_FALSE(waiting.DestroyWindow());
  EXPECT_TRUE(transcript.HasInOrder({"open 201 \"Plain\" centred", "close 201"}));
}

TEST_F(DialogTest, ADialogTheScriptDoesNotExpectFailsInsteadOfHanging) {
  CFormDlg dialog;
  EXPECT_THROW(dialog.DoModal(), script::ScriptError);
  script.InDialog(kFormDialog, {user::Type(kEditField, "x")});
  CFormDlg stillOpen;
  EXPECT_THROW(stillOpen.DoModal(), script::ScriptError);
}

TEST_F(DialogTest, MessageBoxesTakeTheApplicationTitleOrError) {
  CWinApp app("Title");
  CFormDlg dialog;
  script.AnswerBox(IDOK).AnswerBox(IDNO);
  EXPECT_EQ(MessageBoxA(nullptr, "text", nullptr, MB_OK), IDOK);
  EXPECT_EQ(dialog.MessageBox("owned", nullptr, MB_YESNO), IDNO);
  EXPECT_TRUE(transcript.HasInOrder({"box owner=none \"Error\" \"text\" MB_OK -> 1",
                                     "box owner=none \"Title\" \"owned\" MB_YESNO -> 7"}))
      << transcript.Text();
}

}  // namespace
}  // namespace corvane::testing
