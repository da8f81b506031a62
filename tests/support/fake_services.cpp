#include "fake_services.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "framework/script_window_system.h"

namespace corvane::testing {
namespace {
using script::Quote;
using script::Record;

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

std::string Hex(DWORD value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%X", value);
  return text;
}

template <class Answer>
Answer Take(std::deque<Answer>& answers) {
  Answer answer = answers.front();
  if (answers.size() > 1) answers.pop_front();
  return answer;
}

HRASCONN const kConnection = reinterpret_cast<HRASCONN>(static_cast<std::uintptr_t>(0x5A5A));
HANDLE const kIcmpHandle = reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(0x1C3));
}  // namespace

std::string DottedAddress(IPAddr address) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(&address);
  return std::to_string(bytes[0]) + "." + std::to_string(bytes[1]) + "." + std::to_string(bytes[2]) +
         "." + std::to_string(bytes[3]);
}

DWORD FakeRemoteAccess::Dial(LPRASDIALEXTENSIONS, LPCSTR phonebook, LPRASDIALPARAMSA params,
                             DWORD notifierType, LPVOID notifier, LPHRASCONN connection) {
  lastParams = *params;
  Record("RasDialA " + Quote(params->szEntryName) + " notifier=" + std::to_string(notifierType) +
         (notifier ? "" : " (none)"));
  *connection = givesHandle ? kConnection : nullptr;
  return dialResult;
}

DWORD FakeRemoteAccess::GetConnectStatus(HRASCONN connection, LPRASCONNSTATUSA status) {
  ++statusQueries;
  Status answer = Take(statuses);
  if (!connection) answer.result = ERROR_INVALID_HANDLE;
  if (answer.result == 0) {
    status->rasconnstate = answer.state;
    status->dwError = answer.error;
  }
  Record("RasGetConnectStatusA -> " + std::to_string(answer.result) + " state=" + Hex(answer.state) +
         " error=" + std::to_string(answer.error));
  return answer.result;
}

DWORD FakeRemoteAccess::HangUp(HRASCONN) {
  ++hangUps;
  Record("RasHangUpA");
  return 0;
}

int FakeIcmpEcho::Startup(WORD version, LPWSADATA data) {
  Record("WSAStartup " + Hex(version));
  if (data) std::memset(data, 0, sizeof *data);
  return 0;
}

HANDLE FakeIcmpEcho::CreateFile() {
  Record(std::string("IcmpCreateFile") + (handleAvailable ? "" : " -> none"));
  return handleAvailable ? kIcmpHandle : INVALID_HANDLE_VALUE;
}

DWORD FakeIcmpEcho::SendEcho(HANDLE, IPAddr destination, LPVOID data, WORD size,
                             PIP_OPTION_INFORMATION options, LPVOID replyBuffer, DWORD replySize,
                             DWORD timeoutMs) {
  const auto* bytes = static_cast<const unsigned char*>(data);
  requestData.emplace_back(bytes, bytes + size);
  Answer answer = Take(answers);
  if (answer.replies > 0 && replySize >= sizeof(ICMP_ECHO_REPLY)) {
    auto* reply = static_cast<ICMP_ECHO_REPLY*>(replyBuffer);
    reply->Address = destination;
    reply->Status = answer.status;
  }
  Record("IcmpSendEcho " + DottedAddress(destination) + " size=" + std::to_string(size) +
         (options ? " options" : "") + " reply=" + std::to_string(replySize) +
         " timeout=" + std::to_string(timeoutMs) + " -> " + std::to_string(answer.replies) +
         " status=" + std::to_string(answer.status));
  return answer.replies;
}

BOOL FakeIcmpEcho::CloseHandle(HANDLE) {
  Record("IcmpCloseHandle");
  return TRUE;
}

UINT FakeProcesses::WinExec(LPCSTR commandLine, UINT show) {
  commandLines.emplace_back(commandLine);
  Record("WinExec " + Quote(commandLine) + " " + std::to_string(show));
  return result;
}

BOOL FakeHelp::WinHelp(HWND owner, LPCSTR helpFile, UINT command, ULONG_PTR data) {
  Record("WinHelpA " + Quote(helpFile ? helpFile : "") + " " + std::to_string(command) + " " +
         Hex(static_cast<DWORD>(data)) + (owner ? "" : " (no owner)"));
  return TRUE;
}

DWORD FakeCurrentDirectory::Get(DWORD size, LPSTR buffer) {
  if (directory_.size() + 1 > size) return static_cast<DWORD>(directory_.size() + 1);
  std::memcpy(buffer, directory_.c_str(), directory_.size() + 1);
  return static_cast<DWORD>(directory_.size());
}

// Like a real registry, a key's parents exist as soon as the key does.
void FakeRegistry::AddKey(const std::string& keyPath) {
  std::string path = Lower(keyPath);
  for (auto cut = path.find('\\'); cut != std::string::npos; cut = path.find('\\', cut + 1))
    keys_[path.substr(0, cut)];
  keys_[path];
}

void FakeRegistry::Set(const std::string& keyPath, const std::string& valueName, const std::string& data) {
  AddKey(keyPath);
  keys_[Lower(keyPath)][Lower(valueName)] = data;
}

LONG FakeRegistry::OpenKey(HKEY root, LPCSTR subKey, DWORD, REGSAM, PHKEY result) {
  std::string path;
  if (root == HKEY_CLASSES_ROOT) path = "hkey_classes_root";
  else if (root == HKEY_LOCAL_MACHINE) path = "hkey_local_machine";
  else if (root == HKEY_CURRENT_USER) path = "hkey_current_user";
  else if (auto found = open_.find(root); found != open_.end()) path = found->second;
  else return ERROR_INVALID_HANDLE;
  if (subKey && *subKey) path += "\\" + Lower(subKey);
  if (!keys_.count(path)) return ERROR_FILE_NOT_FOUND;
  HKEY handle = reinterpret_cast<HKEY>(nextHandle_++);
  open_[handle] = path;
  *result = handle;
  return ERROR_SUCCESS;
}

LONG FakeRegistry::QueryValue(HKEY key, LPCSTR valueName, LPDWORD type, LPBYTE data, LPDWORD size) {
  auto found = open_.find(key);
  if (found == open_.end()) return ERROR_INVALID_HANDLE;
  const auto& values = keys_[found->second];
  auto value = values.find(Lower(valueName ? valueName : ""));
  if (value == values.end()) return ERROR_FILE_NOT_FOUND;
  DWORD needed = static_cast<DWORD>(value->second.size() + 1);
  if (type) *type = REG_SZ;
  if (!data) {
    if (size) *size = needed;
    return ERROR_SUCCESS;
  }
  if (!size) return ERROR_INVALID_PARAMETER;
  if (*size < needed) {
    *size = needed;
    return ERROR_MORE_DATA;
  }
  std::memcpy(data, value->second.c_str(), needed);
  *size = needed;
  return ERROR_SUCCESS;
}

LONG FakeRegistry::CloseKey(HKEY key) { return open_.erase(key) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE; }

}  // namespace corvane::testing
