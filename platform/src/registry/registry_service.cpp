// The registry in force unless a test installs another: the system and user
// hives, with the desktop's browser answering for .html where they are silent.
#include "platform/hive_registry.h"
#include "real_services.h"

namespace platform::real {

Registry& TheRegistry() {
  static const DesktopEnvironment desktop = DesktopEnvironment::FromProcess();
  static HiveRegistry registry(StandardHiveFiles(desktop.configHome), desktop);
  return registry;
}

}  // namespace platform::real
