// The simulated desktop's own view of the top-level windows: the z-order and
// the top-most band, for the desktop's parts, its tool and the tests.
#pragma once
#include <windows.h>

#include <vector>

namespace orv::desktop {

// Top-level windows from the bottom of the z-order to its top (normal band, then
// top-most band), visible or not.
std::vector<HWND> ZOrder();
bool IsTopmost(HWND hwnd);

}  // namespace orv::desktop
