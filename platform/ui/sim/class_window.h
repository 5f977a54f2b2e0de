// Windows of the simulation's own classes (the desktop, the taskbar, a program
// in front): the class is registered on first use, then the window made with
// CreateWindowExA like any other. They stand for other programs' windows, so
// they carry the property kSystemWindowProp, and what the system does to a
// program's own windows (the power broadcasts) passes them over: the thread that
// happened to make one may never read its messages.
#pragma once
#include <windows.h>

namespace orv::ui {

constexpr char kSystemWindowProp[] = "orv.systemwindow";

// NULL (with CreateWindowExA's error) when the window cannot be made.
HWND CreateClassWindow(const char* className, WNDPROC proc, DWORD style, DWORD exStyle, const RECT& rect,
                       const char* title);

}  // namespace orv::ui
