// The foreground window and the monitor calls of the simulated screen: which
// window the user works in, whether it is maximised, its client area, and the one
// (primary) monitor's rectangles. And a stand-in for a program in front of
// everything: a screen-sized window that a film player in full screen would show.
#pragma once
#include <windows.h>

namespace orv::win {

// The window last brought to the foreground while it is still there and visible;
// otherwise the desktop's own window (class "Progman"), as when nothing is active.
HWND GetForegroundWindow();
// FALSE (ERROR_INVALID_WINDOW_HANDLE) for a window that does not exist.
BOOL SetForegroundWindow(HWND hwnd);
// Whether the window carries WS_MAXIMIZE.
BOOL IsZoomed(HWND hwnd);
// The client area in client coordinates: (0, 0) to the window's size, less the
// caption bar of a window with WS_CAPTION.
BOOL GetClientRect(HWND hwnd, RECT* rect);

using HMONITOR = struct HMONITOR__*;
constexpr DWORD MONITOR_DEFAULTTONULL = 0, MONITOR_DEFAULTTOPRIMARY = 1, MONITOR_DEFAULTTONEAREST = 2;
constexpr DWORD MONITORINFOF_PRIMARY = 1;
struct MONITORINFO {
  DWORD cbSize;  // 40
  RECT rcMonitor;
  RECT rcWork;
  DWORD dwFlags;
};
// The screen has one monitor, the primary one. A window wholly off it gets that
// monitor, or NULL with MONITOR_DEFAULTTONULL.
HMONITOR MonitorFromWindow(HWND hwnd, DWORD flags);
// FALSE (ERROR_INVALID_PARAMETER) for another record size or monitor handle.
BOOL GetMonitorInfoA(HMONITOR monitor, MONITORINFO* info);

}  // namespace orv::win

namespace orv::desktop {

// The class of the desktop's own window.
constexpr const char* kDesktopClass = "Progman";
// The class of the stand-in program's window.
constexpr const char* kPlayerClass = "OrvPlayer";

enum class PlayerMode { Off, FullScreen, Maximized };
// Puts a screen-sized program window in the foreground (its own thread runs it),
// maximised or not, or takes it away. The change has happened when this returns.
void SetPlayer(PlayerMode mode);
PlayerMode CurrentPlayer();

}  // namespace orv::desktop
