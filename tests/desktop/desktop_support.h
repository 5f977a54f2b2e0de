// What the desktop tests and their helper program share: a plain top-level
// window of the process's own, shown at a place.
#pragma once
#include <windows.h>

namespace desktoptest {

// A visible popup window with the default window procedure; NULL on failure.
HWND ShowPlainWindow(const RECT& place);

}  // namespace desktoptest
