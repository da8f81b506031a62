// Fakes of the platform services for sequence tests. Each records its calls
// in the current transcript, so a test can assert order across windows and
// services; install one for a scope with platform::ScopedService.
#pragma once
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "platform/services.h"

namespace corvane::testing {

// The dial-up service: the dial's result and handle, then one status answer
// per query (the last one repeats).
class FakeRemoteAccess : public platform::RemoteAccess {
 public:
  struct Status {
    DWORD result;
    RASCONNSTATE state;
    DWORD error;
  };
  DWORD dialResult = 0;
  bool givesHandle = true;
  std::deque<Status> statuses{{0, RASCS_Connected, 0}};
  RASDIALPARAMSA lastParams{};
  int statusQueries = 0;
  int hangUps = 0;

  DWORD Dial(LPRASDIALEXTENSIONS, LPCSTR phonebook, LPRASDIALPARAMSA params, DWORD notifierType,
             LPVOID notifier, LPHRASCONN connection) override;
  DWORD GetConnectStatus(HRASCONN connection, LPRASCONNSTATUSA status) override;
  DWORD HangUp(HRASCONN connection) override;
};

// ICMP echo: one answer per request (the last one repeats).
class FakeIcmpEcho : public platform::IcmpEcho {
 public:
  struct Answer {
    DWORD replies;     // records stored
    ULONG status;      // Status of the first record
  };
  bool handleAvailable = true;
  std::deque<Answer> answers{{1, IP_SUCCESS}};
  std::vector<std::vector<unsigned char>> requestData;  // bytes of each request

  int Startup(WORD version, LPWSADATA data) override;
  HANDLE CreateFile() override;
  DWORD SendEcho(HANDLE handle, IPAddr destination, LPVOID requestData, WORD requestSize,
                 PIP_OPTION_INFORMATION options, LPVOID replyBuffer, DWORD replySize,
                 DWORD timeoutMs) override;
  BOOL CloseHandle(HANDLE handle) override;
};

class FakeProcesses : public platform::Processes {
 public:
  UINT result = 33;
  std::vector<std::string> commandLines;
  UINT WinExec(LPCSTR commandLine, UINT show) override;
};

class FakeHelp : public platform::Help {
 public:
  BOOL WinHelp(HWND owner, LPCSTR helpFile, UINT command, ULONG_PTR data) override;
};

class FakeCurrentDirectory : public platform::CurrentDirectory {
 public:
  explicit FakeCurrentDirectory(std::string directory) : directory_(std::move(directory)) {}
  DWORD Get(DWORD size, LPSTR buffer) override;

 private:
  std::string directory_;
};

class FakeThreadLocale : public platform::ThreadLocale {
 public:
  explicit FakeThreadLocale(LCID lcid) : lcid_(lcid) {}
  LCID Get() override { return lcid_; }

 private:
  LCID lcid_;
};

// A registry of string values: Set("HKEY_CLASSES_ROOT\\.html", "", "htmlfile").
class FakeRegistry : public platform::Registry {
 public:
  void Set(const std::string& keyPath, const std::string& valueName, const std::string& data);
  void AddKey(const std::string& keyPath);

  LONG OpenKey(HKEY root, LPCSTR subKey, DWORD options, REGSAM access, PHKEY result) override;
  LONG QueryValue(HKEY key, LPCSTR valueName, LPDWORD type, LPBYTE data, LPDWORD size) override;
  LONG CloseKey(HKEY key) override;

 private:
  std::map<std::string, std::map<std::string, std::string>> keys_;  // lower-case paths and names
  std::map<HKEY, std::string> open_;
  std::uintptr_t nextHandle_ = 0x1000;
};

std::string DottedAddress(IPAddr address);

}  // namespace corvane::testing
