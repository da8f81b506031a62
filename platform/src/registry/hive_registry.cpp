// RegOpenKeyExA, RegQueryValueExA and RegCloseKey on the loaded hives.
#include "platform/hive_registry.h"

#include <cstring>

#include "registry/small_file.h"

namespace platform {
namespace {

// Rights that would change the registry; this one is read only.
constexpr REGSAM kWriteRights = 0x0002 /* KEY_SET_VALUE */ | 0x0004 /* KEY_CREATE_SUB_KEY */ |
                                0x0020 /* KEY_CREATE_LINK */ | 0x00010000 /* DELETE */ |
                                0x00040000 /* WRITE_DAC */ | 0x00080000 /* WRITE_OWNER */;

std::optional<RegistryRoot> PredefinedRoot(HKEY key) {
  switch (reinterpret_cast<std::uintptr_t>(key)) {
    case 0x80000000u: return RegistryRoot::ClassesRoot;
    case 0x80000001u: return RegistryRoot::CurrentUser;
    case 0x80000002u: return RegistryRoot::LocalMachine;
    case 0x80000003u: return RegistryRoot::Users;
    case 0x80000005u: return RegistryRoot::CurrentConfig;
    default: return std::nullopt;
  }
}

std::vector<std::string> SubkeyNames(LPCSTR subKey) {
  std::vector<std::string> names;
  std::string_view path = subKey ? subKey : "";
  while (!path.empty()) {
    const auto slash = path.find('\\');
    if (slash != 0) names.emplace_back(path.substr(0, slash));
    if (slash == std::string_view::npos) break;
    path.remove_prefix(slash + 1);
  }
  return names;
}

// The bytes a caller receives: string types always end in their terminator,
// even where the hive stored them without one.
std::vector<BYTE> HandedBack(const RegData& value) {
  std::vector<BYTE> bytes = value.bytes;
  if (value.type == REG_SZ || value.type == REG_EXPAND_SZ) {
    if (bytes.empty() || bytes.back() != 0) bytes.push_back(0);
  } else if (value.type == REG_MULTI_SZ) {
    while (bytes.size() < 2 || bytes[bytes.size() - 1] != 0 || bytes[bytes.size() - 2] != 0) {
      bytes.push_back(0);
    }
  }
  return bytes;
}

RegData TextValue(const std::string& text) {
  const auto* first = reinterpret_cast<const BYTE*>(text.c_str());
  return RegData{REG_SZ, std::vector<BYTE>(first, first + text.size() + 1)};
}

}  // namespace

HiveRegistry::HiveRegistry(std::vector<std::filesystem::path> hiveFiles,
                           std::optional<DesktopEnvironment> desktop)
    : hiveFiles_(std::move(hiveFiles)), desktop_(std::move(desktop)) {}

void HiveRegistry::LoadOnce() {
  std::call_once(loaded_, [this] { Load(); });
}

void HiveRegistry::Load() {
  for (const auto& file : hiveFiles_) {
    if (auto content = registry::ReadSmallFile(file)) hive_.Apply(ParseRegFile(*content));
  }
  if (!desktop_ || hive_.Find({RegistryRoot::ClassesRoot, {".html"}})) return;
  const auto command = DesktopBrowserCommand(*desktop_);
  if (!command) return;
  const std::string className = kDesktopBrowserClass;
  hive_.SetValue({RegistryRoot::ClassesRoot, {".html"}}, "", TextValue(className));
  hive_.SetValue({RegistryRoot::ClassesRoot, {className, "shell", "open", "command"}}, "",
                 TextValue(*command));
}

const RegistryHive::Key* HiveRegistry::Resolve(HKEY key) {
  if (const auto root = PredefinedRoot(key)) return &hive_.Root(*root);
  std::lock_guard lock(handlesMutex_);
  const auto open = handles_.find(reinterpret_cast<std::uintptr_t>(key));
  return open == handles_.end() ? nullptr : open->second;
}

LONG HiveRegistry::OpenKey(HKEY root, LPCSTR subKey, DWORD, REGSAM access, PHKEY result) {
  if (!result) return ERROR_INVALID_PARAMETER;
  *result = nullptr;
  LoadOnce();
  const RegistryHive::Key* node = Resolve(root);
  if (!node) return ERROR_INVALID_HANDLE;
  if (access & kWriteRights) return ERROR_ACCESS_DENIED;
  for (const std::string& name : SubkeyNames(subKey)) {
    const auto child = node->subkeys.find(name);
    if (child == node->subkeys.end()) return ERROR_FILE_NOT_FOUND;
    node = child->second.get();
  }
  std::lock_guard lock(handlesMutex_);
  const std::uintptr_t handle = nextHandle_;
  nextHandle_ += 4;
  handles_.emplace(handle, node);
  *result = reinterpret_cast<HKEY>(handle);
  return ERROR_SUCCESS;
}

LONG HiveRegistry::QueryValue(HKEY key, LPCSTR valueName, LPDWORD type, LPBYTE data,
                              LPDWORD size) {
  LoadOnce();
  const RegistryHive::Key* node = Resolve(key);
  if (!node) return ERROR_INVALID_HANDLE;
  if (data && !size) return ERROR_INVALID_PARAMETER;
  const auto value = node->values.find(std::string_view(valueName ? valueName : ""));
  if (value == node->values.end()) return ERROR_FILE_NOT_FOUND;
  if (type) *type = value->second.type;
  if (!size) return ERROR_SUCCESS;  // only asked whether the value exists
  const std::vector<BYTE> bytes = HandedBack(value->second);
  const DWORD needed = static_cast<DWORD>(bytes.size());
  const DWORD offered = *size;
  *size = needed;
  if (!data) return ERROR_SUCCESS;
  if (offered < needed) return ERROR_MORE_DATA;
  if (!bytes.empty()) std::memcpy(data, bytes.data(), bytes.size());
  return ERROR_SUCCESS;
}

LONG HiveRegistry::CloseKey(HKEY key) {
  if (PredefinedRoot(key)) return ERROR_SUCCESS;
  std::lock_guard lock(handlesMutex_);
  return handles_.erase(reinterpret_cast<std::uintptr_t>(key)) ? ERROR_SUCCESS
                                                               : ERROR_INVALID_HANDLE;
}

}  // namespace platform
