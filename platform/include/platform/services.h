// One interface per platform service. The Win32-named entry points forward to
// the implementation in force: the real Linux one unless a test has installed
// a fake for a scope (ScopedService).
#pragma once
#include "win32/windows.h"

namespace platform {

class Registry {
 public:
  virtual ~Registry() = default;
  virtual LONG OpenKey(HKEY root, LPCSTR subKey, DWORD options, REGSAM access, PHKEY result) = 0;
  virtual LONG QueryValue(HKEY key, LPCSTR valueName, LPDWORD type, LPBYTE data,
                          LPDWORD size) = 0;
  virtual LONG CloseKey(HKEY key) = 0;
};

class ProfileFiles {
 public:
  virtual ~ProfileFiles() = default;
  virtual DWORD GetString(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPSTR out,
                          DWORD size, LPCSTR path) = 0;
  virtual BOOL WriteString(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR path) = 0;
};

class Processes {
 public:
  virtual ~Processes() = default;
  virtual UINT WinExec(LPCSTR commandLine, UINT show) = 0;
};

class CurrentDirectory {
 public:
  virtual ~CurrentDirectory() = default;
  virtual DWORD Get(DWORD size, LPSTR buffer) = 0;
};

class ThreadLocale {
 public:
  virtual ~ThreadLocale() = default;
  virtual LCID Get() = 0;
};

class Help {
 public:
  virtual ~Help() = default;
  virtual BOOL WinHelp(HWND owner, LPCSTR helpFile, UINT command, ULONG_PTR data) = 0;
};

class RemoteAccess {
 public:
  virtual ~RemoteAccess() = default;
  virtual DWORD Dial(LPRASDIALEXTENSIONS extensions, LPCSTR phonebook, LPRASDIALPARAMSA params,
                     DWORD notifierType, LPVOID notifier, LPHRASCONN connection) = 0;
  virtual DWORD GetConnectStatus(HRASCONN connection, LPRASCONNSTATUSA status) = 0;
  virtual DWORD HangUp(HRASCONN connection) = 0;
};

class IcmpEcho {
 public:
  virtual ~IcmpEcho() = default;
  virtual int Startup(WORD version, LPWSADATA data) = 0;
  virtual HANDLE CreateFile() = 0;
  virtual DWORD SendEcho(HANDLE handle, IPAddr destination, LPVOID requestData, WORD requestSize,
                         PIP_OPTION_INFORMATION options, LPVOID replyBuffer, DWORD replySize,
                         DWORD timeoutMs) = 0;
  virtual BOOL CloseHandle(HANDLE handle) = 0;
};

// The implementation in force for each service.
Registry& CurrentRegistry();
ProfileFiles& CurrentProfileFiles();
Processes& CurrentProcesses();
CurrentDirectory& CurrentCurrentDirectory();
ThreadLocale& CurrentThreadLocale();
Help& CurrentHelp();
RemoteAccess& CurrentRemoteAccess();
IcmpEcho& CurrentIcmpEcho();

// Where the implementation in force is kept; ScopedService swaps it.
template <class Service>
Service*& Slot();

// Installs `replacement` for the lifetime of this object, then puts back the
// implementation that was in force before.
template <class Service>
class ScopedService {
 public:
  explicit ScopedService(Service& replacement) : saved_(Slot<Service>()) {
    Slot<Service>() = &replacement;
  }
  ~ScopedService() { Slot<Service>() = saved_; }
  ScopedService(const ScopedService&) = delete;
  ScopedService& operator=(const ScopedService&) = delete;

 private:
  Service* saved_;
};

// How a platform service tells the user something when it has no window of
// its own (the help viewer's "Cannot find ..." message, say). The framework
// installs a notifier that shows a message box; without one the text goes to
// standard error.
using UserNotifier = void (*)(HWND owner, const char* text, const char* caption);
void SetUserNotifier(UserNotifier notifier);
void NotifyUser(HWND owner, const char* text, const char* caption);

}  // namespace platform
