// What a program of this framework includes: the application object, dialogs,
// strings, message maps, painting, and the Win32 services by name.
#pragma once
#include "win32/windows.h"
#include "win32/user.h"
#include "framework/app.h"
#include "framework/cstring.h"
#include "framework/data_exchange.h"
#include "framework/dialog.h"
#include "framework/message_map.h"
#include "framework/paint_dc.h"
#include "framework/wnd.h"
