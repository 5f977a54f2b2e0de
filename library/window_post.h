// Posting a message to a window of the user-interface layer, from any thread.
#pragma once
#include <cstdint>

#include "library/OrvWmiAcpi.h"

namespace orv::lib {

// PostMessage; false when the window does not exist (no effect then).
bool PostToWindow(HWND window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam);

}  // namespace orv::lib
