// The one application object of readyscan, and its resources.
#include "install_app.h"
#include "resources.h"

static corvane::res::ResourceModuleRegistration precheckResources(PrecheckResources());
CInstallApp theApp;
