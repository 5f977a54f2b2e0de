// Windows of the simulation's own classes (the desktop, the taskbar, a program
// in front): the class is registered on first use, then the window made with
// CreateWindowExA like any other.
#pragma once
#include <windows.h>

namespace orv::ui {

// NULL (with CreateWindowExA's error) when the window cannot be made.
HWND CreateClassWindow(const char* className, WNDPROC proc, DWORD style, DWORD exStyle, const RECT& rect,
                       const char* title);

}  // namespace orv::ui
