// The simulated build's <winuser.h>: windows, messages, timers, dialogs, menus,
// icons and input. Calls that other areas of the platform implement sit in their
// own partial headers, included at the end (the SDK splits winuser.h likewise).
#pragma once
#include "windef.h"

// Layered windows, regions, monitors, the foreground and the taskbar (desktop area).
#if __has_include(<winuser_desktop.h>)
#include <winuser_desktop.h>
#endif
// Power-setting notifications and power broadcasts (power area).
#if __has_include(<winuser_power.h>)
#include <winuser_power.h>
#endif
