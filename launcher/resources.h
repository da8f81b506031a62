#pragma once
#include "framework/resources.h"

// The launcher's dialog templates, string table, pictures and version record.
const corvane::res::ResourceModule& LauncherResources();
