// Posting a message to a window from any thread.
#pragma once
#include <windows.h>

namespace orv::lib {

// PostMessage; false when the window does not exist (no effect then).
bool PostToWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace orv::lib
