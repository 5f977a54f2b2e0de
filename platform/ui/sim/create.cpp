// Making and destroying windows, and the default window procedure.
#include <windows.h>

#include <algorithm>

#include "platform/ui/sim/internal.h"

using namespace orv::ui::detail;
using orv::ui::WindowEvent;

namespace {

// The windows to go with hwnd: its children and the windows it owns.
std::vector<HWND> Dependants(HWND hwnd, bool children) {
  return SelectWindows([&](const Window& w) { return w.parent == hwnd && ((w.style & WS_CHILD) != 0) == children; });
}

void SendDestroy(HWND hwnd) {
  CallWindow(hwnd, WM_DESTROY, 0, 0);
  for (HWND child : Dependants(hwnd, true)) SendDestroy(child);
}

void SendNcDestroyAndRemove(HWND hwnd) {
  for (HWND child : Dependants(hwnd, true)) SendNcDestroyAndRemove(child);
  CallWindow(hwnd, WM_NCDESTROY, 0, 0);
  auto window = FindWindowRecord(hwnd);
  RemoveWindow(hwnd);
  if (window) {
    ForgetWindow(*window->queue, hwnd);
    std::lock_guard<std::mutex> lock(window->queue->mutex);
    if (window->queue->focus == hwnd) window->queue->focus = nullptr;
  }
  Notify(hwnd, WindowEvent::Destroyed);
}

LRESULT SetIcon(HWND hwnd, WPARAM which, HICON icon) {
  HICON before = nullptr;
  WithWindow(hwnd, [&](Window& w) {
    HICON& slot = which == ICON_BIG ? w.iconBig : w.iconSmall;
    before = slot;
    slot = icon;
  });
  return reinterpret_cast<LRESULT>(before);
}

LRESULT GetIcon(HWND hwnd, WPARAM which) {
  HICON icon = nullptr;
  WithWindow(hwnd, [&](Window& w) { icon = which == ICON_BIG ? w.iconBig : w.iconSmall; });
  return reinterpret_cast<LRESULT>(icon);
}

}  // namespace

extern "C" {

HWND WINAPI CreateWindowExA(DWORD dwExStyle, LPCSTR lpClassName, LPCSTR lpWindowName, DWORD dwStyle, int X, int Y,
                            int nWidth, int nHeight, HWND hWndParent, HMENU hMenu, HINSTANCE hInstance,
                            LPVOID lpParam) {
  auto cls = FindClass(lpClassName, hInstance);
  if (!cls) {
    SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
    return nullptr;
  }
  const bool child = (dwStyle & WS_CHILD) != 0;
  if (child && !hWndParent) {
    SetLastError(ERROR_TLW_WITH_WSCHILD);
    return nullptr;
  }
  if (hWndParent && hWndParent != HWND_MESSAGE && !IsWindow(hWndParent)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  // Default positions and sizes: the simulated screen has no cascade.
  if (X == CW_USEDEFAULT) X = Y = 0;
  if (nWidth == CW_USEDEFAULT) nWidth = nHeight = 0;
  auto window = std::make_shared<Window>();
  window->thread = GetCurrentThreadId();
  window->queue = CurrentQueue();
  window->cls = cls;
  window->proc = cls->info.lpfnWndProc;
  window->instance = hInstance;
  window->id = child ? reinterpret_cast<LONG_PTR>(hMenu) : 0;
  window->rect = RECT{X, Y, X + std::max(nWidth, 0), Y + std::max(nHeight, 0)};
  window->text = lpWindowName ? lpWindowName : "";
  window->style = dwStyle & ~static_cast<DWORD>(WS_VISIBLE);
  window->exStyle = dwExStyle;
  window->enabled = !(dwStyle & WS_DISABLED);
  window->parent = hWndParent == HWND_MESSAGE ? nullptr : hWndParent;
  HWND hwnd = AddWindow(window);
  Notify(hwnd, WindowEvent::Created);

  CREATESTRUCTA create{lpParam, hInstance, hMenu, hWndParent, nHeight, nWidth, Y, X, static_cast<LONG>(dwStyle),
                       lpWindowName, lpClassName, dwExStyle};
  if (!CallWindow(hwnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&create))) {
    // Refused before it was a window: it goes without further messages.
    RemoveWindow(hwnd);
    Notify(hwnd, WindowEvent::Destroyed);
    return nullptr;
  }
  if (CallWindow(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&create)) == -1) {
    DestroyWindow(hwnd);
    return nullptr;
  }
  if ((dwExStyle & WS_EX_APPWINDOW) && !child) WatchSessionEnd();
  if (dwStyle & WS_VISIBLE) ShowWindow(hwnd, SW_SHOW);
  return hwnd;
}

BOOL WINAPI DestroyWindow(HWND hWnd) {
  if (!OwnWindowRecord(hWnd)) return FALSE;
  for (HWND owned : Dependants(hWnd, false)) DestroyWindow(owned);
  SendDestroy(hWnd);
  SendNcDestroyAndRemove(hWnd);
  return TRUE;
}

LRESULT WINAPI DefWindowProcA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  switch (Msg) {
    case WM_NCCREATE:
      return TRUE;
    case WM_CLOSE:
      DestroyWindow(hWnd);
      return 0;
    case WM_QUERYENDSESSION:
      return TRUE;
    case WM_SETTEXT: {
      auto text = reinterpret_cast<LPCSTR>(lParam);
      if (!WithWindow(hWnd, [&](Window& w) { w.text = text ? text : ""; })) return FALSE;
      Notify(hWnd, WindowEvent::TextChanged);
      return TRUE;
    }
    case WM_GETTEXT:
      return GetWindowTextA(hWnd, reinterpret_cast<LPSTR>(lParam), static_cast<int>(wParam));
    case WM_GETTEXTLENGTH:
      return GetWindowTextLengthA(hWnd);
    case WM_SETICON:
      return SetIcon(hWnd, wParam, reinterpret_cast<HICON>(lParam));
    case WM_GETICON:
      return GetIcon(hWnd, wParam);
    case WM_PAINT: {
      PAINTSTRUCT ps;
      if (BeginPaint(hWnd, &ps)) EndPaint(hWnd, &ps);
      return 0;
    }
    default:
      return 0;
  }
}

LRESULT WINAPI CallWindowProcA(WNDPROC lpPrevWndFunc, HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  return lpPrevWndFunc ? lpPrevWndFunc(hWnd, Msg, wParam, lParam) : 0;
}

}  // extern "C"
