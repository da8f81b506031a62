// Until the hive-backed registry lands: a registry that holds no keys.
#include "real_services.h"

namespace platform::real {
namespace {
class EmptyRegistry final : public Registry {
 public:
  LONG OpenKey(HKEY, LPCSTR, DWORD, REGSAM, PHKEY result) override {
    if (result) *result = nullptr;
    return ERROR_FILE_NOT_FOUND;
  }
  LONG QueryValue(HKEY, LPCSTR, LPDWORD, LPBYTE, LPDWORD) override {
    return ERROR_INVALID_HANDLE;
  }
  LONG CloseKey(HKEY) override { return ERROR_INVALID_HANDLE; }
};
}  // namespace

Registry& TheRegistry() {
  static EmptyRegistry registry;
  return registry;
}
}  // namespace platform::real
