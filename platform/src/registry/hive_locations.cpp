#include "platform/hive_registry.h"

namespace platform {

std::vector<std::filesystem::path> StandardHiveFiles(const std::filesystem::path& userConfigHome) {
  std::vector<std::filesystem::path> files{"/etc/corvane/registry.reg"};
  if (!userConfigHome.empty()) files.push_back(userConfigHome / "corvane" / "registry.reg");
  return files;
}

}  // namespace platform
