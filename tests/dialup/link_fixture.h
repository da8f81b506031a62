// A fresh PC-side network namespace, phonebook and runtime directory for
// each test; everything the test started is hung up and removed after it.
#pragma once
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <optional>
#include <string>

#include "dialup/link_record.h"
#include "link_testbed.h"
#include "win32/ras.h"

namespace dialup::testing {

constexpr const char* kPcAddress = "10.213.7.1";
constexpr const char* kDeviceAddress = "10.213.7.2";

class LinkTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The pty line between the PC and the device (made on first use).
  testbed::PtyLine& Line();
  // The device on the far end of a fresh pty line, in a namespace of its own.
  void StartDevice(const std::map<std::string, std::string>& pages);
  // Ends the device and closes the line's far end: the PC side sees a hang-up.
  void DropLine();

  // Appends an entry on `device` to the per-user phonebook.
  void AddEntry(const std::string& name, const std::string& device,
                const std::string& extraLines = "");

  // RasDialA as the launcher calls it: Windows 95 parameters, a notifier.
  static DWORD Dial(const std::string& entry, HRASCONN* handle);
  // The launcher's loop: query back to back until connected or failed;
  // bounded here so that a broken service fails the test instead of hanging it.
  static RASCONNSTATUSA PollLikeLauncher(HRASCONN handle, int limitSeconds = 20);
  static RASCONNSTATUSA Status(HRASCONN handle, DWORD* result = nullptr);

  // The link record the connection process published for `entry`.
  std::optional<LinkRecord> Record(const std::string& entry) const;
  // Waits until no process holds the entry's link.
  bool WaitUntilDown(const std::string& entry, int limitMs = 5000) const;
  static std::string ProgramBeside(const std::string& name);

  std::unique_ptr<testbed::TempTree> home_;
  std::unique_ptr<testbed::ScopedEnv> config_, runtime_;
  std::unique_ptr<testbed::NetNamespace> pc_;
  std::unique_ptr<testbed::InNamespace> inPc_;
  std::string phonebook_;
  std::unique_ptr<testbed::NetNamespace> deviceNs_;
  std::unique_ptr<testbed::PtyLine> line_;
  std::unique_ptr<testbed::Device> device_;
};

}  // namespace dialup::testing
