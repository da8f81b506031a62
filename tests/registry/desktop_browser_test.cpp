// The desktop's default browser: mimeapps.list defaults, desktop entries and
// their Exec lines, in a desktop made of temporary directories.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/desktop_browser.h"
#include "platform/hive_registry.h"
#include "process/command_line.h"
#include "win32/windows.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

class DesktopTest : public ::testing::Test {
 protected:
  DesktopTest() {
    std::string pattern = (fs::temp_directory_path() / "corvane-desktop-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("no temporary directory");
    root_ = pattern;
    desktop.configHome = root_ / "config";
    desktop.configDirs = {root_ / "xdg"};
    desktop.dataHome = root_ / "local";
    desktop.dataDirs = {root_ / "share"};
    desktop.programSearchPath = {root_ / "bin"};
    desktop.browserAlternative = root_ / "x-www-browser";  // absent unless a test makes it
    fs::create_directories(root_ / "bin");
  }
  ~DesktopTest() override {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
  }

  void Write(const fs::path& file, const std::string& text) {
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << text;
  }
  fs::path Program(const std::string& name) {
    const fs::path file = root_ / "bin" / name;
    Write(file, "#!/bin/sh\n");
    fs::permissions(file, fs::perms::owner_all);
    return file;
  }
  void Entry(const fs::path& applications, const std::string& id, const std::string& body) {
    Write(applications / id, "[Desktop Entry]\nType=Application\nName=x\n" + body);
  }
  void Defaults(const fs::path& list, const std::string& lines) {
    Write(list, "[Added Associations]\ntext/html=decoy.desktop;\n[Default Applications]\n" + lines);
  }
  std::string Command(const std::string& program) { return "\"" + (root_ / "bin" / program).string() + "\" \"%1\""; }

  fs::path root_;
  DesktopEnvironment desktop;
};

TEST_F(DesktopTest, TheDocumentTypeCountsBeforeTheHttpHandlerAndTheFirstInstalledEntryWins) {
  Program("firefox");
  Program("chromium");
  Entry(root_ / "share/applications", "firefox.desktop", "Exec=firefox %u\n");
  Entry(root_ / "share/applications", "chromium.desktop", "Exec=chromium %U\n");
  Entry(root_ / "share/applications", "decoy.desktop", "Exec=firefox\n");
  Defaults(desktop.configHome / "mimeapps.list",
           "x-scheme-handler/http=chromium.desktop\nTEXT/HTML=missing.desktop; firefox.desktop;\n");
  EXPECT_EQ(DesktopBrowserCommand(desktop), Command("firefox"));

  Defaults(desktop.configHome / "mimeapps.list", "x-scheme-handler/http=chromium.desktop\n");
  EXPECT_EQ(DesktopBrowserCommand(desktop), Command("chromium")) << "the http handler when no document default";
}

TEST_F(DesktopTest, ListsCountInTheirOrderOfPriority) {
  for (const char* name : {"user", "system", "gnome", "data"}) {
    Program(name);
    Entry(root_ / "share/applications", std::string(name) + ".desktop", std::string("Exec=") + name + " %u\n");
  }
  Defaults(root_ / "share/applications/mimeapps.list", "text/html=data.desktop\n");
  EXPECT_EQ(DesktopBrowserCommand(desktop), Command("data"));
  Defaults(root_ / "xdg/mimeapps.list", "text/html=system.desktop\n");
  EXPECT_EQ(DesktopBrowserCommand(desktop), Command("system"));
  Defaults(desktop.configHome / "mimeapps.list", "text/html=user.desktop\n");
  EXPECT_EQ(DesktopBrowserCommand(desktop), Command("user"));
  desktop.currentDesktops = {"ubuntu", "GNOME"};
  Defaults(desktop.configHome / "gnome-mimeapps.list", "text/html=gnome.desktop\n");
  EXPECT_EQ(DesktopBrowserCommand(desktop), Command("gnome"));
}

// An entry that is hidden, not installed or not an application gives way to
// the next one listed; a vendor prefix may be a subdirectory.
TEST_F(DesktopTest, SkipsEntriesThatCannotStartABrowser) {
  Program("good");
  const fs::path apps = root_ / "local/applications";
  Entry(apps, "hidden.desktop", "Exec=good %u\nHidden=true\n");
  Entry(apps, "notinstalled.desktop", "Exec=absent %u\n");
  Entry(apps, "tryexec.desktop", "TryExec=absent\nExec=good %u\n");
  Entry(apps, "badquote.desktop", "Exec=\"good %u\n");
  Write(apps / "link.desktop", "[Desktop Entry]\nType=Link\nExec=good %u\n");
  Entry(apps / "vendor", "good.desktop", "Exec=good --new-window %u\n");
  Defaults(desktop.configHome / "mimeapps.list",
           "text/html=hidden.desktop;notinstalled.desktop;tryexec.desktop;badquote.desktop;link.desktop;"
           "../escape.desktop;vendor-good.desktop\n");
  EXPECT_EQ(DesktopBrowserCommand(desktop), "\"" + (root_ / "bin/good").string() + "\" --new-window \"%1\"");
}

TEST_F(DesktopTest, FallsBackToTheBrowserAlternativeAndElseFindsNone) {
  EXPECT_EQ(DesktopBrowserCommand(desktop), std::nullopt);
  const fs::path real = Program("real-browser");
  fs::create_directories(root_ / "alternatives");
  fs::create_symlink(real, root_ / "alternatives/x-www-browser");
  fs::create_symlink(root_ / "alternatives/x-www-browser", desktop.browserAlternative);
  EXPECT_EQ(DesktopBrowserCommand(desktop), Command("real-browser"));
}

TEST(DesktopExec, AppliesFieldCodesAndQuoting) {
  using Args = std::vector<std::string>;
  const struct {
    const char* exec;
    std::optional<Args> args;
  } cases[] = {
      {"firefox %u", Args{"firefox", "%1"}},
      {"browser --new-window %U", Args{"browser", "--new-window", "%1"}},
      {"viewer %f", Args{"viewer", "%1"}},
      {"viewer %F", Args{"viewer", "%1"}},
      {"browser --url=%u", Args{"browser", "--url=%1"}},
      {"browser %i %c %k --private", Args{"browser", "--private"}},
      {"browser 100%%", Args{"browser", "100%"}},
      {"\"/opt/my browser/run\" %u", Args{"/opt/my browser/run", "%1"}},
      {"sh -c \"echo \\\\$HOME \\\\\\\\x\"", Args{"sh", "-c", "echo $HOME \\x"}},
      {"browser\\s--flag", Args{"browser", "--flag"}},
      {"\"open", std::nullopt},
      {"", std::nullopt},
      {"%i", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(ExpandDesktopExec(c.exec), c.args) << c.exec;
}

// The open command must split back, by the rules WinExec uses, into exactly
// the arguments of the Exec line.
TEST(DesktopExec, JoinedCommandLinesSplitBackIntoTheSameArguments) {
  const std::vector<std::vector<std::string>> cases = {
      {"/usr/bin/firefox", "%1"},
      {"/opt/my browser/run", "--name=a b", "%1"},
      {"/bin/b", "say \"hi\"", "C:\\dir\\", "back\\\\slash\"", ""},
      {"/bin/b", "tab\there", "%1"},
  };
  for (const auto& arguments : cases) {
    const std::string line = JoinWindowsCommandLine(arguments);
    EXPECT_EQ(real::SplitCommandLine(line), arguments) << line;
  }
  EXPECT_EQ(JoinWindowsCommandLine({"/usr/bin/firefox", "--new-window", "%1"}),
            "\"/usr/bin/firefox\" --new-window \"%1\"");
}

// Sets environment variables for a scope and puts the old values back.
class ScopedEnvironment {
 public:
  void Set(const char* name, const std::optional<std::string>& value) {
    const char* old = std::getenv(name);
    saved_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
    Apply(name, value);
  }
  ~ScopedEnvironment() {
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) Apply(it->first, it->second);
  }

 private:
  static void Apply(const char* name, const std::optional<std::string>& value) {
    if (value) {
      setenv(name, value->c_str(), 1);
    } else {
      unsetenv(name);
    }
  }
  std::vector<std::pair<const char*, std::optional<std::string>>> saved_;
};

TEST_F(DesktopTest, ReadsTheXdgDirectoriesFromTheEnvironment) {
  ScopedEnvironment environment;
  environment.Set("HOME", root_.string());
  environment.Set("XDG_CONFIG_HOME", (root_ / "config").string());
  environment.Set("XDG_DATA_DIRS", "relative/ignored:" + (root_ / "share").string());
  environment.Set("XDG_CURRENT_DESKTOP", "KDE:GNOME");
  environment.Set("XDG_CONFIG_DIRS", std::nullopt);
  environment.Set("XDG_DATA_HOME", std::nullopt);
  environment.Set("PATH", (root_ / "bin").string());
  const DesktopEnvironment found = DesktopEnvironment::FromProcess();
  EXPECT_EQ(found.configHome, root_ / "config");
  EXPECT_EQ(found.dataDirs, std::vector<fs::path>{root_ / "share"});
  EXPECT_EQ(found.configDirs, std::vector<fs::path>{"/etc/xdg"});
  EXPECT_EQ(found.dataHome, root_ / ".local/share");
  EXPECT_EQ(found.currentDesktops, (std::vector<std::string>{"KDE", "GNOME"}));

  Program("surf");
  Entry(root_ / "share/applications", "surf.desktop", "Exec=surf %u\n");
  Defaults(root_ / "config/kde-mimeapps.list", "text/html=surf.desktop\n");
  EXPECT_EQ(DesktopBrowserCommand(found), Command("surf"));
}

// HKEY_CLASSES_ROOT answers .html from the desktop only where no hive
// defines it.
TEST_F(DesktopTest, TheRegistryAnswersHtmlFromTheDesktopWhereNoHiveDefinesIt) {
  Program("firefox");
  Entry(root_ / "share/applications", "firefox.desktop", "Exec=firefox %u\n");
  Defaults(desktop.configHome / "mimeapps.list", "text/html=firefox.desktop\n");
  auto command = [](const std::vector<fs::path>& hives, const DesktopEnvironment& desktop) {
    HiveRegistry registry(hives, desktop);
    ScopedService<Registry> use(registry);
    HKEY html = nullptr;
    char text[256] = "";
    DWORD size = sizeof text;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, ".html", 0, KEY_READ, &html)) return std::string("no .html");
    RegQueryValueExA(html, "", nullptr, nullptr, reinterpret_cast<LPBYTE>(text), &size);
    RegCloseKey(html);
    HKEY open = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, (std::string(text) + "\\shell\\open\\command").c_str(), 0, KEY_READ, &open)) {
      return std::string("no command");
    }
    size = sizeof text;
    RegQueryValueExA(open, "", nullptr, nullptr, reinterpret_cast<LPBYTE>(text), &size);
    RegCloseKey(open);
    return std::string(text);
  };
  const fs::path other = root_ / "other.reg";
  Write(other, "REGEDIT4\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft]\n");
  EXPECT_EQ(command({other}, desktop), Command("firefox"));

  const fs::path own = root_ / "own.reg";
  Write(own, "REGEDIT4\n[HKEY_CLASSES_ROOT\\.html]\n@=\"mine\"\n"
             "[HKEY_CLASSES_ROOT\\mine\\shell\\open\\command]\n@=\"/bin/mine %1\"\n");
  EXPECT_EQ(command({own}, desktop), "/bin/mine %1");

  desktop.dataDirs.clear();  // the desktop names nothing installed
  EXPECT_EQ(command({other}, desktop), "no .html");
}

}  // namespace
}  // namespace platform
