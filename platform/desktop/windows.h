// Top-level windows on the simulated screen, on top of the message core's
// handles: z-order with a top-most band, layered windows and their per-pixel-alpha
// contents, window regions, window DCs, class names and the window search.
// Signatures, flags and failure values are those of the Win32 calls.
#pragma once
#include <string>
#include <vector>

#include "platform/gfx/gdi.h"
#include "platform/gfx/region.h"
#include <windows.h>

namespace orv::win {

inline HWND const HWND_TOP = reinterpret_cast<HWND>(0);
inline HWND const HWND_BOTTOM = reinterpret_cast<HWND>(1);
inline HWND const HWND_TOPMOST = reinterpret_cast<HWND>(-1);
inline HWND const HWND_NOTOPMOST = reinterpret_cast<HWND>(-2);

constexpr UINT SWP_NOSIZE = 0x0001;
constexpr UINT SWP_NOMOVE = 0x0002;
constexpr UINT SWP_NOZORDER = 0x0004;
constexpr UINT SWP_NOREDRAW = 0x0008;
constexpr UINT SWP_NOACTIVATE = 0x0010;
constexpr UINT SWP_FRAMECHANGED = 0x0020;
constexpr UINT SWP_SHOWWINDOW = 0x0040;
constexpr UINT SWP_HIDEWINDOW = 0x0080;

constexpr DWORD ULW_COLORKEY = 0x00000001;
constexpr DWORD ULW_ALPHA = 0x00000002;
constexpr DWORD ULW_OPAQUE = 0x00000004;

// Moves, sizes, restacks, shows or hides a top-level window.
BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);

// Replaces a layered window's contents with the source DC's pixels at *pptSrc
// (default 0, 0) of size *psize, moves it to *pptDst, and keeps the blend for
// composing: ULW_ALPHA with AC_SRC_ALPHA uses the per-pixel alpha, times
// SourceConstantAlpha. FALSE with ERROR_INVALID_PARAMETER when the window is not
// layered, the size is not positive, or the source rectangle leaves the source's
// pixels; the old contents then stay. hdcDst is accepted and not used.
BOOL UpdateLayeredWindow(HWND hwnd, gfx::HDC hdcDst, POINT* pptDst, gfx::SIZE* psize,
                         gfx::HDC hdcSrc, POINT* pptSrc, gfx::COLORREF crKey,
                         gfx::BLENDFUNCTION* pblend, DWORD flags);

// Gives the window a shape in window coordinates; the window owns the region
// from then on (and deletes the one it had). NULL removes the shape. 0 on failure.
int SetWindowRgn(HWND hwnd, gfx::HRGN region, BOOL redraw);
// Copies the window's shape into an existing region: its type, or RGN_ERROR when
// the window has none.
int GetWindowRgn(HWND hwnd, gfx::HRGN region);

// A DC on the window's pixels (what the screen shows of a window that is not
// layered), sized to the window; NULL: a DC on the screen (see ScreenDC). Each
// GetDC needs its ReleaseDC.
gfx::HDC GetDC(HWND hwnd);
int ReleaseDC(HWND hwnd, gfx::HDC hdc);

// The first top-level window, top of the z-order first, whose class and title
// match; NULL for either means any, "" an empty title.
HWND FindWindowA(const char* className, const char* windowName);

}  // namespace orv::win

namespace orv::desktop {

// Top-level windows from the bottom of the z-order to its top (normal band, then
// top-most band), visible or not.
std::vector<HWND> ZOrder();
bool IsTopmost(HWND hwnd);

}  // namespace orv::desktop
