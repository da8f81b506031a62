// The launcher's settings file, current.cfg in the current directory, and
// the Internet shortcut corvLink.url beside it. Nothing is cached: every
// reader asks for the current directory and reads the file afresh.
#pragma once
#include "framework/cstring.h"

constexpr const char* kSettingsSection = "init";

// The current directory followed by "\current.cfg" (or "\corvLink.url"),
// whatever the directory's length.
CString SettingsFilePath();
CString ShortcutFilePath();

// One key of section "init"; empty when the file or the key is missing, cut
// to 255 characters.
CString ReadSetting(const char* key);
