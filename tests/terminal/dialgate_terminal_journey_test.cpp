// The launcher itself in a terminal, driven through a pseudo-terminal: keys
// in, screen text out. The main path dials a simulated device at the far end
// of a SLIP line between two network namespaces made here (so it needs
// root), shows the waiting window while the device wakes up, and starts the
// registered browser, which fetches the device's page over the link.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <thread>

#include "ci_policy.h"
#include "netns.h"
#include "pty_program.h"

namespace corvane::testing {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr const char* kEntry = "Journey Device";
constexpr const char* kPcAddress = "10.213.8.1";
constexpr const char* kDeviceAddress = "10.213.8.2";
constexpr const char* kDown = "\x1bOB";
constexpr const char* kTab = "\t";

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string IpCommand() {
  for (const char* path : {"/usr/sbin/ip", "/sbin/ip", "/usr/bin/ip", "/bin/ip"}) {
    if (access(path, X_OK) == 0) return path;
  }
  return {};
}

// A program run to its end with `environment` added; its exit status, or -1.
int RunToEnd(std::vector<std::string> argv, const std::vector<std::string>& environment = {}) {
  pid_t child = fork();
  if (child == 0) {
    int devNull = open("/dev/null", O_RDWR);
    dup2(devNull, 1);
    dup2(devNull, 2);
    for (const std::string& entry : environment) putenv(const_cast<char*>(entry.c_str()));
    std::vector<char*> args;
    for (std::string& a : argv) args.push_back(a.data());
    args.push_back(nullptr);
    execv(args[0], args.data());
    _exit(127);
  }
  int status = 0;
  if (child < 0 || waitpid(child, &status, 0) != child) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Why links cannot be made here, or "" when they can.
std::string WhyNoLinks() {
  if (geteuid() != 0) return "the dial-up journey needs root for network namespaces and TUN interfaces";
  if (access("/dev/net/tun", R_OK | W_OK) != 0) return "/dev/net/tun is missing";
  if (IpCommand().empty()) return "the ip command (iproute2) is missing";
  return "";
}

class LauncherInTerminal : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/dialgate-terminal-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    root_ = pattern;
    launcherDir_ = root_ / "launcher";
    fs::create_directories(launcherDir_);
    fs::create_directories(root_ / "config" / "corvane");
    fs::create_directories(root_ / "run");
    fs::permissions(root_ / "run", fs::perms::owner_all);
    std::string browser = std::string("\\\"") + PAGE_FETCHER + "\\\" \\\"" + PagePath().string() + "\\\" %1";
    Write(root_ / "config" / "corvane" / "registry.reg",
          "REGEDIT4\r\n\r\n[HKEY_CLASSES_ROOT\\.html]\r\n@=\"htmlfile\"\r\n\r\n"
          "[HKEY_CLASSES_ROOT\\htmlfile\\shell\\open\\command]\r\n@=\"" + browser + "\"\r\n");
    WriteSettings(std::string("http://") + kDeviceAddress + "/index.html", kDeviceAddress);
  }

  void TearDown() override {
    if (links_) {
      RunToEnd({CORVANE_DIAL, "hangup", kEntry}, Environment());
      if (device_ > 0) {
        kill(device_, SIGTERM);
        waitpid(device_, nullptr, 0);
      }
      namespaces_.clear();
    }
    fs::remove_all(root_);
  }

  static void Write(const fs::path& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

  void WriteSettings(const std::string& url, const std::string& address) {
    Write(launcherDir_ / "current.cfg",
          "[init]\r\nDevURL=" + url + "\r\nDevIP=" + address + "\r\nconnName=" + kEntry + "\r\n");
  }

  fs::path PagePath() const { return root_ / "page.out"; }

  std::vector<std::string> Environment() const {
    return {"XDG_CONFIG_HOME=" + (root_ / "config").string(), "XDG_RUNTIME_DIR=" + (root_ / "run").string()};
  }

  // The device in a namespace of its own, on a fresh pty line, and a phonebook
  // entry for it; the launcher will run in a second namespace.
  void MakeLink() {
    std::string why = WhyNoLinks();
    if (!why.empty()) {
      if (corvane::testing::SkippingForbidden()) FAIL() << "cannot run in CI: " << why;
      GTEST_SKIP() << why;
    }
    links_ = true;
    for (const char* side : {"pc", "dev"}) {
      try {
        namespaces_.push_back(std::make_unique<netns::Namespace>(side));
      } catch (const std::exception& e) {
        FAIL() << e.what();
      }
    }
    std::string line = StartDevice(namespaces_[1]->name());
    ASSERT_FALSE(line.empty()) << "the simulated device did not start";
    Write(root_ / "config" / "corvane" / "phonebook.ini",
          "[" + std::string(kEntry) + "]\ndevice=" + line + "\nlocal=" + kPcAddress + "\nremote=" +
              kDeviceAddress + "\ntimeout=20\n");
  }

  // The line's path once the device says it is ready; "" when it does not.
  std::string StartDevice(const std::string& ns) {
    int out[2];
    if (pipe2(out, O_CLOEXEC) != 0) return {};
    device_ = fork();
    if (device_ == 0) {
      dup2(out[1], 1);
      std::string ip = IpCommand();
      // Slow to answer echo, so the waiting window is on screen long enough
      // to be seen; the third probe gets its answer.
      execl(ip.c_str(), ip.c_str(), "netns", "exec", ns.c_str(), DEMO_DEVICE, "--wake-ms", "1500", kDeviceAddress,
            kPcAddress, static_cast<char*>(nullptr));
      _exit(127);
    }
    close(out[1]);
    std::string said;
    char buffer[256];
    pollfd ready{out[0], POLLIN, 0};
    while (said.find('\n') == std::string::npos && poll(&ready, 1, 10000) > 0) {
      ssize_t n = read(out[0], buffer, sizeof buffer);
      if (n <= 0) break;
      said.append(buffer, static_cast<std::size_t>(n));
    }
    close(out[0]);
    if (said.rfind("ready ", 0) != 0) return {};
    return said.substr(6, said.find('\n') - 6);
  }

  std::unique_ptr<PtyProgram> StartLauncher() {
    PtyLaunch launch;
    if (links_) {
      // Under a shell, as a user runs it: the terminal's session outlives the
      // launcher, so the browser it started is not hung up the moment the
      // launcher ends (as it would be were the launcher the session leader).
      launch.program = "/bin/sh";
      launch.arguments = {"-c", "\"$@\"; status=$?; sleep 2; exit $status", "sh", IpCommand(), "netns",
                          "exec", namespaces_[0]->name(), DIALGATE};
    } else {
      launch.program = DIALGATE;
    }
    launch.directory = launcherDir_.string();
    launch.environment = Environment();
    launch.environment.push_back("TERM=xterm");
    launch.environment.push_back("LC_CTYPE=C.UTF-8");
    return std::make_unique<PtyProgram>(launch);
  }

  std::string FetchedPage() const {
    for (int waited = 0; waited < 10000; waited += 50) {
      if (fs::exists(PagePath())) return ReadFile(PagePath());
      std::this_thread::sleep_for(50ms);
    }
    return {};
  }

  fs::path root_;
  fs::path launcherDir_;
  bool links_ = false;
  std::vector<std::unique_ptr<netns::Namespace>> namespaces_;
  pid_t device_ = -1;
};

TEST_F(LauncherInTerminal, OkDialsWaitsAndOpensTheDevicePageWithTheLinkLeftUp) {
  MakeLink();
  if (IsSkipped() || HasFatalFailure()) return;
  auto launcher = StartLauncher();
  ASSERT_TRUE(launcher->WaitForText("http://10.213.8.2/index.html")) << launcher->Screen().Text();
  EXPECT_TRUE(launcher->Screen().Contains("Corvane V1.2"));
  EXPECT_TRUE(launcher->Screen().Contains("[> OK <]"));

  launcher->Type("\r");
  ASSERT_TRUE(launcher->WaitForText("Waiting for connection.", 15s)) << launcher->Screen().Text();
  EXPECT_TRUE(launcher->Screen().Contains("moments...")) << launcher->Screen().Text();
  EXPECT_FALSE(fs::exists(PagePath())) << "the browser started before the device answered";

  EXPECT_EQ(launcher->WaitForExit(20s), 0) << launcher->Screen().Text();
  EXPECT_NE(FetchedPage().find("<h1>Corvane demo device</h1>"), std::string::npos) << ReadFile(PagePath());
  EXPECT_FALSE(launcher->Screen().AlternateScreen()) << "the terminal was not given back";
  EXPECT_EQ(RunToEnd({CORVANE_DIAL, "status", kEntry}, Environment()), 0) << "the link went down with the launcher";
}

TEST_F(LauncherInTerminal, UrlDialogRefusesABadAddressThenStoresTheNewUrl) {
  auto launcher = StartLauncher();
  ASSERT_TRUE(launcher->WaitForText("[> OK <]")) << launcher->Screen().Text();
  // OK, Cancel, URL...: the arrow keys go round the tab stops too.
  launcher->Type(kDown);
  launcher->Type(kDown);
  launcher->Type("\r");
  ASSERT_TRUE(launcher->WaitForText("Device URL:")) << launcher->Screen().Text();
  // The dialog opens on its OK button; Tab reaches the field with its text selected.
  launcher->Type(kTab);
  launcher->Type("http://300.1.2.3/");
  launcher->Type("\r");
  ASSERT_TRUE(launcher->WaitForText("Invalid URL.")) << launcher->Screen().Text();
  EXPECT_TRUE(launcher->Screen().Contains("Please check your URL setting and try again."));
  launcher->Type("\r");
  ASSERT_TRUE(launcher->WaitForNoText("Invalid URL."));
  ASSERT_TRUE(launcher->Screen().Contains("Device URL:")) << "a refused URL must leave the dialog open";

  // The focus is back in the field: round by Cancel and OK to select its text.
  launcher->Type(kTab);
  launcher->Type(kTab);
  launcher->Type(kTab);
  launcher->Type("http://10.213.8.7/status.html");
  launcher->Type("\r");
  ASSERT_TRUE(launcher->WaitForNoText("Device URL:")) << launcher->Screen().Text();
  ASSERT_TRUE(launcher->WaitForText("URL:   http://10.213.8.7/status.html")) << launcher->Screen().Text();
  std::string settings = ReadFile(launcherDir_ / "current.cfg");
  EXPECT_NE(settings.find("DevURL=http://10.213.8.7/status.html"), std::string::npos) << settings;
  EXPECT_NE(settings.find("DevIP=10.213.8.7"), std::string::npos) << settings;
  EXPECT_NE(settings.find("connName=Journey Device"), std::string::npos) << settings;
  EXPECT_NE(ReadFile(launcherDir_ / "corvLink.url").find("URL=http://10.213.8.7/status.html"), std::string::npos);

  // Escape in the main window ends the run without a dial.
  launcher->Type("\x1b");
  EXPECT_EQ(launcher->WaitForExit(), 0);
  EXPECT_FALSE(fs::exists(PagePath()));
}

}  // namespace
}  // namespace corvane::testing
