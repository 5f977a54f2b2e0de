// The part of the simulated build's <winuser.h> that the desktop implements:
// top-level z-order with its top-most band, layered windows and their
// per-pixel-alpha contents, window regions, window and screen DCs, the
// foreground window, the window search, the screen's metrics and work area, and
// the (one, primary) monitor. Included by winuser.h, which has the window styles
// (WS_EX_LAYERED, WS_EX_TOPMOST, ...) and the class names; signatures, flags,
// values and failure results are those of the SDK.
#pragma once
#include "windef.h"
#include "wingdi.h"

DECLARE_HANDLE(HMONITOR);

#define HWND_TOP (reinterpret_cast<HWND>(static_cast<LONG_PTR>(0)))
#define HWND_BOTTOM (reinterpret_cast<HWND>(static_cast<LONG_PTR>(1)))
#define HWND_TOPMOST (reinterpret_cast<HWND>(static_cast<LONG_PTR>(-1)))
#define HWND_NOTOPMOST (reinterpret_cast<HWND>(static_cast<LONG_PTR>(-2)))

#define SWP_NOSIZE 0x0001
#define SWP_NOMOVE 0x0002
#define SWP_NOZORDER 0x0004
#define SWP_NOREDRAW 0x0008
#define SWP_NOACTIVATE 0x0010
#define SWP_FRAMECHANGED 0x0020
#define SWP_SHOWWINDOW 0x0040
#define SWP_HIDEWINDOW 0x0080

#define ULW_COLORKEY 0x00000001
#define ULW_ALPHA 0x00000002
#define ULW_OPAQUE 0x00000004

#define SM_CXSCREEN 0
#define SM_CYSCREEN 1
#define SM_CYCAPTION 4
#define SM_CXFULLSCREEN 16
#define SM_CYFULLSCREEN 17
#define SM_XVIRTUALSCREEN 76
#define SM_YVIRTUALSCREEN 77
#define SM_CXVIRTUALSCREEN 78
#define SM_CYVIRTUALSCREEN 79
#define SM_CMONITORS 80

#define SPI_GETWORKAREA 0x0030

#define MONITOR_DEFAULTTONULL 0x00000000
#define MONITOR_DEFAULTTOPRIMARY 0x00000001
#define MONITOR_DEFAULTTONEAREST 0x00000002
#define MONITORINFOF_PRIMARY 0x00000001

typedef struct tagMONITORINFO {
  DWORD cbSize;
  RECT rcMonitor;
  RECT rcWork;
  DWORD dwFlags;
} MONITORINFO, *LPMONITORINFO;

extern "C" {

// Moves, sizes, restacks (HWND_TOPMOST and HWND_NOTOPMOST move the window
// between the bands), shows or hides a top-level window.
BOOL WINAPI SetWindowPos(HWND hWnd, HWND hWndInsertAfter, int X, int Y, int cx, int cy, UINT uFlags);

// Replaces a layered window's contents with the source DC's pixels at *pptSrc
// (default 0, 0) of size *psize, moves it to *pptDst, and keeps the blend for
// composing: ULW_ALPHA with AC_SRC_ALPHA uses the per-pixel alpha, times
// SourceConstantAlpha. FALSE with ERROR_INVALID_PARAMETER when the window is
// not layered, the size is not positive, or the source rectangle leaves the
// source's pixels; the old contents then stay. hdcDst is accepted and not used.
BOOL WINAPI UpdateLayeredWindow(HWND hWnd, HDC hdcDst, POINT* pptDst, SIZE* psize, HDC hdcSrc, POINT* pptSrc,
                                COLORREF crKey, BLENDFUNCTION* pblend, DWORD dwFlags);

// Gives the window a shape in window coordinates; the window owns the region
// from then on (and deletes the one it had). NULL removes the shape. 0 on
// failure.
int WINAPI SetWindowRgn(HWND hWnd, HRGN hRgn, BOOL bRedraw);
// Copies the window's shape into an existing region: its kind, or RGN_ERROR
// (ERROR) when the window has none.
int WINAPI GetWindowRgn(HWND hWnd, HRGN hRgn);

// A DC on the window's pixels (what the screen shows of a window that is not
// layered); NULL: a DC on the screen. Each GetDC needs its ReleaseDC.
HDC WINAPI GetDC(HWND hWnd);
int WINAPI ReleaseDC(HWND hWnd, HDC hDC);

// The window last brought to the foreground while it is still there and
// visible; otherwise the shell's desktop window (class "Progman").
HWND WINAPI GetForegroundWindow(void);
// FALSE (ERROR_INVALID_WINDOW_HANDLE) for a window that does not exist.
BOOL WINAPI SetForegroundWindow(HWND hWnd);
// The root window (class "#32769"), and the shell's desktop window ("Progman").
HWND WINAPI GetDesktopWindow(void);
HWND WINAPI GetShellWindow(void);
// Whether the window is maximised (carries WS_MAXIMIZE).
BOOL WINAPI IsZoomed(HWND hWnd);
// The client area in client coordinates: (0, 0) to the window's size, less the
// caption of a window with WS_CAPTION.
BOOL WINAPI GetClientRect(HWND hWnd, LPRECT lpRect);

// The first top-level window, top of the z-order first, whose class and title
// match; NULL for either means any, "" an empty title.
HWND WINAPI FindWindowA(LPCSTR lpClassName, LPCSTR lpWindowName);

// The screen, the work area and the one monitor.
int WINAPI GetSystemMetrics(int nIndex);
// SPI_GETWORKAREA fills the RECT at pvParam; other actions answer FALSE with
// ERROR_INVALID_PARAMETER.
BOOL WINAPI SystemParametersInfoA(UINT uiAction, UINT uiParam, PVOID pvParam, UINT fWinIni);
// The screen has one monitor, the primary one: what lies wholly off it gets
// that monitor, or NULL with MONITOR_DEFAULTTONULL.
HMONITOR WINAPI MonitorFromWindow(HWND hwnd, DWORD dwFlags);
HMONITOR WINAPI MonitorFromPoint(POINT pt, DWORD dwFlags);
// FALSE (ERROR_INVALID_PARAMETER) for another record size or monitor handle.
BOOL WINAPI GetMonitorInfoA(HMONITOR hMonitor, LPMONITORINFO lpmi);

}  // extern "C"
