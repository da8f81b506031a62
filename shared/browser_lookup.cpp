#include "shared/browser_lookup.h"

#include "win32/registry.h"

namespace {

constexpr DWORD kTextBuffer = 256;

// The key's default value into a 256-byte buffer, always terminated. Closes
// the key.
bool ReadDefaultTextAndClose(HKEY key, char (&text)[kTextBuffer]) {
  DWORD size = sizeof text;
  LONG read = RegQueryValueExA(key, "", nullptr, nullptr, reinterpret_cast<LPBYTE>(text), &size);
  RegCloseKey(key);
  text[kTextBuffer - 1] = '\0';
  return read == ERROR_SUCCESS;
}

// Opens HKEY_CLASSES_ROOT\<class of .html>\shell\open\command.
bool OpenOpenCommandKey(HKEY& commandKey) {
  HKEY htmlKey = nullptr;
  if (RegOpenKeyExA(HKEY_CLASSES_ROOT, ".html", 0, KEY_READ, &htmlKey) != ERROR_SUCCESS) return false;
  char className[kTextBuffer] = "";
  if (!ReadDefaultTextAndClose(htmlKey, className)) return false;

  HKEY classKey = nullptr;
  if (RegOpenKeyExA(HKEY_CLASSES_ROOT, className, 0, KEY_READ, &classKey) != ERROR_SUCCESS) return false;
  LONG opened = RegOpenKeyExA(classKey, "shell\\open\\command", 0, KEY_READ, &commandKey);
  RegCloseKey(classKey);
  return opened == ERROR_SUCCESS;
}

}  // namespace

void CutBeforePlaceholder(CString& command) {
  int at = command.Find("\"%1\"");
  if (at < 0) at = command.Find("%1");
  if (at < 0) return;
  LPTSTR text = command.GetBuffer(command.GetLength());
  text[at] = '\0';
  command.ReleaseBuffer();
}

BOOL GetBrowserCommand(CString& command) {
  HKEY commandKey = nullptr;
  if (!OpenOpenCommandKey(commandKey)) return FALSE;
  char text[kTextBuffer] = "";
  if (!ReadDefaultTextAndClose(commandKey, text)) return FALSE;
  command = text;
  CutBeforePlaceholder(command);
  return TRUE;
}

bool HasDefaultBrowser() {
  HKEY commandKey = nullptr;
  if (!OpenOpenCommandKey(commandKey)) return false;
  LONG exists = RegQueryValueExA(commandKey, "", nullptr, nullptr, nullptr, nullptr);
  RegCloseKey(commandKey);
  return exists == ERROR_SUCCESS;
}
