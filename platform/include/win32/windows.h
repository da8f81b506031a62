// Everything the programs call by its Win32 name from the platform layer.
#pragma once
#include "win32/types.h"
#include "win32/kernel.h"
#include "win32/registry.h"
#include "win32/help.h"
#include "win32/ras.h"
#include "win32/icmp.h"
