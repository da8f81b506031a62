#include "settings.h"

#include <vector>

#include "win32/kernel.h"

namespace {

constexpr DWORD kTextBuffer = 256;

// The directory may be longer than the 256-byte buffer: ask again with the
// size the service says it needs.
CString CurrentDirectory() {
  std::vector<char> buffer(kTextBuffer, '\0');
  DWORD length = GetCurrentDirectoryA(static_cast<DWORD>(buffer.size()), buffer.data());
  if (length >= buffer.size()) {
    buffer.assign(length + 1, '\0');
    length = GetCurrentDirectoryA(static_cast<DWORD>(buffer.size()), buffer.data());
    if (length >= buffer.size()) return CString();
  }
  return CString(buffer.data());
}

CString InCurrentDirectory(const char* fileName) {
  CString path = CurrentDirectory();
  path += fileName;
  return path;
}

}  // namespace

CString SettingsFilePath() { return InCurrentDirectory("\\current.cfg"); }

CString ShortcutFilePath() { return InCurrentDirectory("\\corvLink.url"); }

CString ReadSetting(const char* key) {
  char value[kTextBuffer] = "";
  GetPrivateProfileStringA(kSettingsSection, key, nullptr, value, kTextBuffer, SettingsFilePath());
  return CString(value);
}
