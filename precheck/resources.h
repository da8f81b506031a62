#pragma once
#include "framework/resources.h"

// The pre-checker's dialog templates, string table, pictures and version record.
const corvane::res::ResourceModule& PrecheckResources();
