// The real Linux implementation of each service, one per folder of src/.
#pragma once
#include "platform/services.h"

namespace platform::real {
Registry& TheRegistry();
ProfileFiles& TheProfileFiles();
Processes& TheProcesses();
CurrentDirectory& TheCurrentDirectory();
ThreadLocale& TheThreadLocale();
Help& TheHelp();
RemoteAccess& TheRemoteAccess();
IcmpEcho& TheIcmpEcho();
}  // namespace platform::real
