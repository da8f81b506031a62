// The Device URL dialog: which entries it accepts, and what it stores.
#include "launcher_fixture.h"

namespace corvane::testing {
namespace {

const std::string kInvalidUrlBox =
    "box owner=131 \"Corvane\" \"Invalid URL.\\nPlease check your URL setting and try again.\" MB_OK -> 1";

class DeviceUrlTest : public LauncherTest {
 protected:
  // Opens the dialog from the main window, does `acts`, then leaves the main window.
  void InUrlDialog(std::vector<script::Act> acts) {
    script.InDialog(IDD_LAUNCHER_DIALOG, {user::Press(IDC_URL_BUTTON), user::Press(IDCANCEL)});
    script.InDialog(IDD_DEVICE_URL, std::move(acts));
  }
};

struct Entry {
  const char* typed;
  const char* host;  // nullptr: refused
};

TEST_F(DeviceUrlTest, EntriesAreAcceptedOnlyWithAUsableHost) {
  const Entry entries[] = {
      {"http://10.0.0.1", "10.0.0.1"},
      {"HTTP://10.0.0.1/index.htm", "10.0.0.1"},
      {"10.0.0.1", "10.0.0.1"},
      {"10.0.0.1/cfg", "10.0.0.1"},
      {"abcd://10.0.0.1/http://", "10.0.0.1"},  // an accepted scheme anywhere is enough
      {"Http://10.0.0.1", nullptr},
      {"https://10.0.0.1", nullptr},
      {"ftp://10.0.0.1", nullptr},
      {"file://10.0.0.1", nullptr},
      {"http://10.0.0.1:80/", nullptr},
      {"http://", nullptr},
      {"10.0.0.1//x", nullptr},
      {"", nullptr},
      {"http://127.0.0.1/", nullptr},
  };
  for (const Entry& entry : entries) {
    TempDir files;
    FakeCurrentDirectory here(files.Path());
    platform::ScopedService<platform::CurrentDirectory> useHere(here);
    script::Transcript local;
    UserScript user;
    user.InDialog(IDD_LAUNCHER_DIALOG, {user::Press(IDC_URL_BUTTON), user::Press(IDCANCEL)});
    if (entry.host) {
      user.InDialog(IDD_DEVICE_URL, {user::Type(IDC_DEVICE_URL, entry.typed), user::Press(IDOK)});
    } else {
      user.InDialog(IDD_DEVICE_URL, {user::Type(IDC_DEVICE_URL, entry.typed), user::Press(IDOK), user::Press(IDCANCEL)})
          .AnswerBox(IDOK);
    }
    script::ScriptWindowSystem scripted{user, local};
    app.InitInstance();
    EXPECT_TRUE(user.Done()) << entry.typed;
    if (entry.host) {
      EXPECT_EQ(files.Read("current.cfg"),
                std::string("[init]\r\nDevURL=") + entry.typed + "\r\nDevIP=" + entry.host + "\r\n")
          << entry.typed;
      EXPECT_EQ(files.Read("corvLink.url"), std::string("[InternetShortcut]\r\nURL=") + entry.typed + "\r\n");
    } else {
      EXPECT_TRUE(local.Has(kInvalidUrlBox)) << entry.typed << "\n" << local.Text();
      EXPECT_FALSE(files.Exists("current.cfg")) << entry.typed;
      EXPECT_FALSE(files.Exists("corvLink.url")) << entry.typed;
    }
  }
}

TEST_F(DeviceUrlTest, ARefusedEntryKeepsTheDialogOpenWithItsText) {
  InUrlDialog({user::Type(IDC_DEVICE_URL, "ftp://10.0.0.1"), user::Press(IDOK),
               user::Check([](const script::ScriptedDialog& d) {
                 EXPECT_EQ(d.ControlText(IDC_DEVICE_URL), "ftp://10.0.0.1");
               }),
               user::Type(IDC_DEVICE_URL, "http://10.0.0.2/"), user::Enter()});
  script.AnswerBox(IDOK);
  Run();
  ExpectInOrder({kInvalidUrlBox, "enter 131", "close 131", "text 102:1002 \"http://10.0.0.2/\""});
}

// The save keeps every other line of the settings file, connName included.
TEST_F(DeviceUrlTest, SavingKeepsTheOtherSettings) {
  dir.Write("current.cfg", "; written by setup\r\n[init]\r\nconnName=Device\r\nDevURL=old\r\n[other]\r\nx=1\r\n");
  InUrlDialog({user::Check([](const script::ScriptedDialog& d) {
                 EXPECT_EQ(d.ControlText(IDC_DEVICE_URL), "old");
                 EXPECT_EQ(d.Focus(), IDOK);
               }),
               user::Type(IDC_DEVICE_URL, "http://10.0.0.9/x"), user::Press(IDOK)});
  Run();
  EXPECT_EQ(dir.Read("current.cfg"),
            "; written by setup\r\n[init]\r\nconnName=Device\r\nDevURL=http://10.0.0.9/x\r\nDevIP=10.0.0.9\r\n"
            "[other]\r\nx=1\r\n");
}

// The field holds at most 255 characters, the most any buffer behind it holds.
TEST_F(DeviceUrlTest, TheFieldTakesAtMost255Characters) {
  std::string longUrl = "http://10.0.0.9/" + std::string(300, 'a');
  InUrlDialog({user::Type(IDC_DEVICE_URL, longUrl), user::Press(IDOK)});
  Run();
  ExpectInOrder({"type 131:1000 \"" + longUrl.substr(0, 255) + "\""});
  EXPECT_EQ(dir.Read("corvLink.url"), "[InternetShortcut]\r\nURL=" + longUrl.substr(0, 255) + "\r\n");
}

}  // namespace
}  // namespace corvane::testing
