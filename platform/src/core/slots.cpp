// The implementation in force for each service: the real one until a test
// installs a replacement.
#include "real_services.h"

namespace platform {

#define PLATFORM_SLOT(Service, Real)             \
  template <>                                    \
  Service*& Slot<Service>() {                    \
    static Service* current = &real::Real();     \
    return current;                              \
  }                                              \
  Service& Current##Service() { return *Slot<Service>(); }

PLATFORM_SLOT(Registry, TheRegistry)
PLATFORM_SLOT(ProfileFiles, TheProfileFiles)
PLATFORM_SLOT(Processes, TheProcesses)
PLATFORM_SLOT(CurrentDirectory, TheCurrentDirectory)
PLATFORM_SLOT(ThreadLocale, TheThreadLocale)
PLATFORM_SLOT(Help, TheHelp)
PLATFORM_SLOT(RemoteAccess, TheRemoteAccess)
PLATFORM_SLOT(IcmpEcho, TheIcmpEcho)

#undef PLATFORM_SLOT

}  // namespace platform
