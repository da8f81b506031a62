// The registry of this system: read-only hives written as .reg text files,
// in the format regedit exports and imports. A system hive and a per-user
// hive are applied in turn, as if both were imported one after the other.
#pragma once
#include <array>
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/desktop_browser.h"
#include "platform/no_case.h"
#include "platform/services.h"

namespace platform {

enum class RegistryRoot { ClassesRoot, CurrentUser, LocalMachine, Users, CurrentConfig };
inline constexpr std::size_t kRegistryRootCount = 5;

struct RegKeyPath {
  RegistryRoot root = RegistryRoot::LocalMachine;
  std::vector<std::string> names;  // subkeys below the root, outermost first
  bool operator==(const RegKeyPath&) const = default;
};

struct RegData {
  DWORD type = REG_NONE;
  std::vector<BYTE> bytes;  // as stored: a REG_SZ from "text" holds its terminator
  bool operator==(const RegData&) const = default;
};

// One change that a .reg file asks for, in file order.
struct RegEdit {
  enum class Action { CreateKey, DeleteKey, SetValue, DeleteValue };
  Action action = Action::CreateKey;
  RegKeyPath key;
  std::string valueName;  // empty: the key's default value ("@")
  RegData data;           // SetValue only
  bool operator==(const RegEdit&) const = default;
};

struct RegSkippedLine {
  int line = 0;  // 1-based, the first line of a continued value
  std::string reason;
};

struct RegScript {
  std::vector<RegEdit> edits;
  std::vector<RegSkippedLine> skipped;
};

// Reads the bytes of a .reg file: REGEDIT4 (ANSI text) or version 5.00
// (UTF-16 with a byte-order mark, or plain 8-bit text). Text comes out as
// UTF-8, the encoding of everything else on this system, so a path read from
// the registry names the same file as the path in the desktop's files.
// A line that cannot be read is skipped and noted; the rest still counts. A
// file without a recognised header yields no edits at all, as regedit
// refuses to import it.
RegScript ParseRegFile(std::string_view fileBytes);

// The key tree that edits build. HKEY_CLASSES_ROOT is another name for
// HKEY_LOCAL_MACHINE\SOFTWARE\Classes, as on Windows 95.
class RegistryHive {
 public:
  struct Key {
    std::map<std::string, std::unique_ptr<Key>, NoCaseLess> subkeys;
    std::map<std::string, RegData, NoCaseLess> values;
  };

  RegistryHive();
  void Apply(const RegScript& script);
  void SetValue(const RegKeyPath& key, const std::string& valueName, RegData data);
  const Key& Root(RegistryRoot root) const;
  const Key* Find(const RegKeyPath& key) const;

 private:
  Key& Ensure(const RegKeyPath& key);
  Key* FindMutable(const RegKeyPath& key);
  void EnsureClassesRoot();

  std::array<Key, kRegistryRootCount> roots_;
};

// The class that answers for .html when the hives leave it to the desktop.
inline constexpr const char* kDesktopBrowserClass = "CorvaneDesktopBrowser.html";

// Hive files in the order they apply: the system hive, then the user's.
std::vector<std::filesystem::path> StandardHiveFiles(const std::filesystem::path& userConfigHome);

// The registry service on hive files. The files are read once, on first use;
// a file that is missing or cannot be read counts as an empty hive. Where no
// hive defines HKEY_CLASSES_ROOT\.html and a desktop is given, .html and its
// class's shell\open\command answer with the desktop's default browser.
class HiveRegistry final : public Registry {
 public:
  HiveRegistry(std::vector<std::filesystem::path> hiveFiles,
               std::optional<DesktopEnvironment> desktop);

  LONG OpenKey(HKEY root, LPCSTR subKey, DWORD options, REGSAM access, PHKEY result) override;
  LONG QueryValue(HKEY key, LPCSTR valueName, LPDWORD type, LPBYTE data, LPDWORD size) override;
  LONG CloseKey(HKEY key) override;

 private:
  void LoadOnce();
  void Load();
  const RegistryHive::Key* Resolve(HKEY key);

  std::vector<std::filesystem::path> hiveFiles_;
  std::optional<DesktopEnvironment> desktop_;
  std::once_flag loaded_;
  RegistryHive hive_;
  std::mutex handlesMutex_;
  std::map<std::uintptr_t, const RegistryHive::Key*> handles_;
  std::uintptr_t nextHandle_ = 0x1000;  // never reused, so a closed handle stays invalid
};

}  // namespace platform
