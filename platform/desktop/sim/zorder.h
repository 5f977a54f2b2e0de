// The simulated desktop's own view of the top-level windows: the class names of
// its own windows, the z-order and the top-most band, for the desktop's parts,
// its tool and the tests.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace orv::desktop {

// Names the class of one of the desktop's own windows (taskbar, shell window,
// the stand-in program) and marks it as the desktop's, not the process's.
void AdoptWindow(HWND hwnd, const std::string& className);

// Top-level windows from the bottom of the z-order to its top (normal band, then
// top-most band), visible or not.
std::vector<HWND> ZOrder();
bool IsTopmost(HWND hwnd);

}  // namespace orv::desktop
