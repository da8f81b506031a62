// GetPrivateProfileStringA and WritePrivateProfileStringA on files of the
// Linux file system. Nothing is cached: every call reads the file afresh, and
// every write replaces it whole, so a crash never leaves half a file.
#include <cerrno>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "platform/paths.h"
#include "profile/file_replace.h"
#include "profile/profile_text.h"
#include "real_services.h"

namespace platform::real {
namespace {

DWORD LastErrorFor(int error) {
  switch (error) {
    case ENOENT:
      return ERROR_FILE_NOT_FOUND;
    case ENOTDIR:
    case ENAMETOOLONG:
      return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
      return ERROR_ACCESS_DENIED;
    case ENOMEM:
      return ERROR_NOT_ENOUGH_MEMORY;
    default:
      return ERROR_ACCESS_DENIED;
  }
}

// Copies `value` into the caller's buffer, cut to size-1 characters.
DWORD CopyCut(std::string_view value, LPSTR out, DWORD size) {
  if (out == nullptr || size == 0) return 0;
  if (value.size() > size - 1) {
    std::memcpy(out, value.data(), size - 1);
    out[size - 1] = '\0';
    SetLastError(ERROR_MORE_DATA);
    return size - 1;
  }
  std::memcpy(out, value.data(), value.size());
  out[value.size()] = '\0';
  return static_cast<DWORD>(value.size());
}

// A list of names as the profile routines hand it back: each name ends in a
// NUL and the list in one more. Cut lists end in two NULs and return size-2.
DWORD CopyNameList(const std::vector<std::string>& names, LPSTR out, DWORD size) {
  if (out == nullptr || size == 0) return 0;
  if (size == 1) {
    out[0] = '\0';
    return 0;
  }
  std::string list;
  for (const std::string& name : names) list.append(name).push_back('\0');
  if (list.size() > size - 1) {
    std::memcpy(out, list.data(), size - 2);
    out[size - 2] = '\0';
    out[size - 1] = '\0';
    SetLastError(ERROR_MORE_DATA);
    return size - 2;
  }
  std::memcpy(out, list.data(), list.size());
  out[list.size()] = '\0';
  return static_cast<DWORD>(list.size());
}

// The default with its trailing blanks dropped, as the Windows routine does.
std::string_view DefaultValue(LPCSTR defaultValue) {
  std::string_view value = defaultValue ? defaultValue : "";
  while (!value.empty() && (value.back() == ' ' || value.back() == '\t')) value.remove_suffix(1);
  return value;
}

// Text that would break the line structure of the file if written into it:
// a line break anywhere, '=' in a key, ']' in a section name.
bool BreaksLineStructure(LPCSTR section, LPCSTR key, LPCSTR value) {
  auto has = [](LPCSTR s, const char* forbidden) {
    return s != nullptr && std::strpbrk(s, forbidden) != nullptr;
  };
  return has(section, "\r\n]") || has(key, "\r\n=") || has(value, "\r\n");
}

class LinuxProfileFiles final : public ProfileFiles {
 public:
  DWORD GetString(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPSTR out, DWORD size,
                  LPCSTR path) override {
    if (path == nullptr) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return CopyCut(DefaultValue(defaultValue), out, size);
    }
    auto text = ReadFileIfPresent(ToLinuxPath(path));
    const std::string contents = text.value_or(std::string());
    if (section == nullptr) {
      SetLastError(ERROR_SUCCESS);
      return CopyNameList(ProfileSectionNames(contents), out, size);
    }
    if (key == nullptr) {
      auto names = ProfileKeyNames(contents, section);
      SetLastError(names ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND);
      return CopyNameList(names.value_or(std::vector<std::string>{}), out, size);
    }
    if (auto value = FindProfileValue(contents, section, key)) {
      SetLastError(ERROR_SUCCESS);
      return CopyCut(*value, out, size);
    }
    SetLastError(text ? ERROR_FILE_NOT_FOUND : LastErrorFor(errno));
    return CopyCut(DefaultValue(defaultValue), out, size);
  }

  BOOL WriteString(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR path) override {
    // All null asks to flush a cache; there is none.
    if (section == nullptr && key == nullptr && value == nullptr) return TRUE;
    if (section == nullptr || path == nullptr || BreaksLineStructure(section, key, value)) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return FALSE;
    }
    const std::string file = ToLinuxPath(path);
    // A file that exists but cannot be read is never overwritten: its
    // contents would be lost.
    auto text = ReadFileIfPresent(file);
    if (!text) {
      SetLastError(LastErrorFor(errno));
      return FALSE;
    }
    const std::string updated = key == nullptr     ? WithoutProfileSection(*text, section)
                                : value == nullptr ? WithoutProfileKey(*text, section, key)
                                                   : WithProfileValue(*text, section, key, value);
    if (updated == *text && (key == nullptr || value == nullptr)) return TRUE;
    if (!ReplaceFile(file, updated)) {
      // The file itself may be missing; what is missing then is its directory.
      SetLastError(errno == ENOENT ? ERROR_PATH_NOT_FOUND : LastErrorFor(errno));
      return FALSE;
    }
    return TRUE;
  }
};

}  // namespace

ProfileFiles& TheProfileFiles() {
  static LinuxProfileFiles files;
  return files;
}

}  // namespace platform::real
