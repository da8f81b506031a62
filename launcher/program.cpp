// The one application object of dialgate, and its resources.
#include "launcher_app.h"
#include "resources.h"

static corvane::res::ResourceModuleRegistration launcherResources(LauncherResources());
CLauncherApp theApp;
