#include "link_fixture.h"

#include <limits.h>
#include <unistd.h>

#include <fstream>

#include "ci_policy.h"
#include "dialup/link_client.h"
#include "dialup/link_record.h"

namespace dialup::testing {

void LinkTest::SetUp() {
  if (const std::string& why = testbed::UnavailableReason(); !why.empty()) {
    if (corvane::testing::SkippingForbidden()) FAIL() << why << " (CI=true: not skipping)";
    GTEST_SKIP() << why;
  }
  home_ = std::make_unique<testbed::TempTree>();
  config_ = std::make_unique<testbed::ScopedEnv>("XDG_CONFIG_HOME", home_->path() + "/config");
  runtime_ = std::make_unique<testbed::ScopedEnv>("XDG_RUNTIME_DIR", home_->path() + "/run");
  home_->Write("run/.keep", "");
  phonebook_ = "config/corvane/phonebook.ini";
  home_->Write(phonebook_, "; written by the test\n");
  pc_ = std::make_unique<testbed::NetNamespace>("pc");
  inPc_ = std::make_unique<testbed::InNamespace>(*pc_);
}

void LinkTest::TearDown() {
  if (home_) testbed::HangUpEverything();
  device_.reset();
  line_.reset();
  deviceNs_.reset();
  inPc_.reset();
  pc_.reset();
  runtime_.reset();
  config_.reset();
  home_.reset();
}

testbed::PtyLine& LinkTest::Line() {
  if (!line_) line_ = std::make_unique<testbed::PtyLine>();
  return *line_;
}

void LinkTest::StartDevice(const std::map<std::string, std::string>& pages) {
  if (!deviceNs_) deviceNs_ = std::make_unique<testbed::NetNamespace>("device");
  device_ = std::make_unique<testbed::Device>(*deviceNs_, Line().master(), kDeviceAddress,
                                              kPcAddress, pages);
}

void LinkTest::DropLine() {
  device_.reset();
  line_->CloseMaster();
}

void LinkTest::AddEntry(const std::string& name, const std::string& device,
                        const std::string& extraLines) {
  std::ofstream(home_->path() + "/" + phonebook_, std::ios::app)
      << "[" << name << "]\ndevice=" << device << "\nlocal=" << kPcAddress
      << "\nremote=" << kDeviceAddress << "\n" << extraLines << "\n";
}

namespace {
void IgnoreProgress(UINT, RASCONNSTATE, DWORD) {}
}  // namespace

DWORD LinkTest::Dial(const std::string& entry, HRASCONN* handle) {
  RASDIALPARAMSA params{};
  params.dwSize = sizeof params;
  entry.copy(params.szEntryName, RAS_MaxEntryName);
  *handle = nullptr;
  return RasDialA(nullptr, nullptr, &params, 0, reinterpret_cast<LPVOID>(&IgnoreProgress), handle);
}

RASCONNSTATUSA LinkTest::Status(HRASCONN handle, DWORD* result) {
  RASCONNSTATUSA status{};
  status.dwSize = sizeof status;
  DWORD r = RasGetConnectStatusA(handle, &status);
  if (result) *result = r;
  return status;
}

RASCONNSTATUSA LinkTest::PollLikeLauncher(HRASCONN handle, int limitSeconds) {
  RASCONNSTATUSA status{};
  status.dwSize = sizeof status;
  RasGetConnectStatusA(handle, &status);
  std::int64_t deadline = MonotonicNs() + std::int64_t{limitSeconds} * 1000000000;
  while (status.rasconnstate != RASCS_Connected) {
    RasGetConnectStatusA(handle, &status);
    if (status.dwError != 0 && status.dwError != PENDING) break;
    if (MonotonicNs() > deadline) {
      ADD_FAILURE() << "the attempt neither connected nor failed in " << limitSeconds << " s";
      break;
    }
  }
  return status;
}

std::optional<LinkRecord> LinkTest::Record(const std::string& entry) const {
  return ReadRecord(RuntimeDirectory(), entry);
}

bool LinkTest::WaitUntilDown(const std::string& entry, int limitMs) const {
  for (int waited = 0; waited < limitMs; waited += 10) {
    if (!ConnectionProcessAlive(RuntimeDirectory(), entry)) return true;
    usleep(10000);
  }
  return false;
}

std::string LinkTest::ProgramBeside(const std::string& name) {
  char self[PATH_MAX];
  ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
  std::string path(self, n > 0 ? static_cast<std::size_t>(n) : 0);
  return path.substr(0, path.rfind('/') + 1) + name;
}

}  // namespace dialup::testing
