// Painting: the windows of a thread that need WM_PAINT, InvalidateRect and its
// kin, BeginPaint with its WM_ERASEBKGND, and the coordinate conversions. The
// pixels themselves are the desktop's: it hands out the DCs (SetWindowDcSource).
// The update area is always the whole client area.
#include <windows.h>

#include <algorithm>
#include <mutex>

#include "platform/ui/sim/internal.h"
#include "platform/ui/sim/look.h"

namespace orv::ui {
namespace {

struct DcSource {
  std::mutex mutex;
  WindowDcGetter get;
  WindowDcReleaser release;
};

DcSource& TheSource() {
  static DcSource* source = new DcSource;  // windows may paint during exit
  return *source;
}

}  // namespace

void SetWindowDcSource(WindowDcGetter get, WindowDcReleaser release) {
  DcSource& s = TheSource();
  std::lock_guard<std::mutex> lock(s.mutex);
  s.get = std::move(get);
  s.release = std::move(release);
}

}  // namespace orv::ui

namespace orv::ui::detail {

HDC SystemWindowDc(HWND hwnd) {
  DcSource& s = TheSource();
  WindowDcGetter get;
  {
    std::lock_guard<std::mutex> lock(s.mutex);
    get = s.get;
  }
  return get ? get(hwnd) : nullptr;
}

void ReleaseSystemWindowDc(HWND hwnd, HDC hdc) {
  if (!hdc) return;
  DcSource& s = TheSource();
  WindowDcReleaser release;
  {
    std::lock_guard<std::mutex> lock(s.mutex);
    release = s.release;
  }
  if (release) release(hwnd, hdc);
}

RECT ClientRectOf(HWND hwnd) {
  RECT r{0, 0, 0, 0};
  WithWindow(hwnd, [&](Window& w) {
    const bool caption = !(w.style & WS_CHILD) && (w.style & WS_CAPTION) == WS_CAPTION;
    r = RECT{0, 0, w.rect.right - w.rect.left, w.rect.bottom - w.rect.top - (caption ? kCaptionHeight : 0)};
  });
  return r;
}

void InvalidateWindow(HWND hwnd, bool erase, bool children) {
  auto window = FindWindowRecord(hwnd);
  if (!window || (window->exStyle & WS_EX_LAYERED)) return;
  {
    std::lock_guard<std::mutex> lock(window->queue->mutex);
    auto& list = window->queue->paint;
    auto it = std::find_if(list.begin(), list.end(), [&](const PendingPaint& p) { return p.hwnd == hwnd; });
    if (it == list.end()) list.push_back(PendingPaint{hwnd, (window->style & WS_CHILD) ? window->parent : nullptr, erase});
    else it->erase = it->erase || erase;
    window->queue->wake.notify_all();
  }
  if (!children) return;
  for (HWND child : SelectWindows([&](const Window& w) { return w.parent == hwnd && (w.style & WS_CHILD); }))
    InvalidateWindow(child, erase, true);
}

bool Paintable(HWND hwnd) {
  for (HWND at = hwnd; at;) {
    bool visible = false, child = false;
    HWND parent = nullptr;
    if (!WithWindow(at, [&](Window& w) {
          visible = w.visible;
          child = (w.style & WS_CHILD) != 0;
          parent = w.parent;
        }) ||
        !visible) {
      Validate(hwnd);
      return false;
    }
    at = child ? parent : nullptr;
  }
  return true;
}

void Validate(HWND hwnd) {
  auto window = FindWindowRecord(hwnd);
  auto queue = window ? window->queue : CurrentQueue();
  std::lock_guard<std::mutex> lock(queue->mutex);
  auto& list = queue->paint;
  list.erase(std::remove_if(list.begin(), list.end(), [&](const PendingPaint& p) { return p.hwnd == hwnd; }),
             list.end());
}

}  // namespace orv::ui::detail

using namespace orv::ui::detail;

extern "C" {

BOOL WINAPI InvalidateRect(HWND hWnd, const RECT*, BOOL bErase) {
  if (!hWnd || !IsWindow(hWnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  InvalidateWindow(hWnd, bErase != FALSE, false);
  return TRUE;
}

BOOL WINAPI ValidateRect(HWND hWnd, const RECT*) {
  if (hWnd && !IsWindow(hWnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  if (hWnd) Validate(hWnd);
  return TRUE;
}

BOOL WINAPI RedrawWindow(HWND hWnd, const RECT*, HRGN, UINT flags) {
  if (!hWnd || !IsWindow(hWnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  if (flags & RDW_INVALIDATE) InvalidateWindow(hWnd, (flags & RDW_ERASE) != 0, (flags & RDW_ALLCHILDREN) != 0);
  if (flags & RDW_VALIDATE) Validate(hWnd);
  if (flags & RDW_UPDATENOW) UpdateWindow(hWnd);
  return TRUE;
}

BOOL WINAPI UpdateWindow(HWND hWnd) {
  if (!OwnWindowRecord(hWnd)) return FALSE;
  bool pending = false;
  {
    auto queue = CurrentQueue();
    std::lock_guard<std::mutex> lock(queue->mutex);
    pending = std::any_of(queue->paint.begin(), queue->paint.end(),
                          [&](const PendingPaint& p) { return p.hwnd == hWnd; });
  }
  if (pending && Paintable(hWnd)) {
    SendMessageA(hWnd, WM_PAINT, 0, 0);
    Validate(hWnd);
  }
  return TRUE;
}

HDC WINAPI BeginPaint(HWND hWnd, LPPAINTSTRUCT lpPaint) {
  if (!lpPaint || !OwnWindowRecord(hWnd)) return nullptr;
  bool erase = false;
  {
    auto queue = CurrentQueue();
    std::lock_guard<std::mutex> lock(queue->mutex);
    auto& list = queue->paint;
    auto it = std::find_if(list.begin(), list.end(), [&](const PendingPaint& p) { return p.hwnd == hWnd; });
    if (it != list.end()) {
      erase = it->erase;
      list.erase(it);
    }
  }
  *lpPaint = PAINTSTRUCT{};
  lpPaint->hdc = SystemWindowDc(hWnd);
  lpPaint->rcPaint = ClientRectOf(hWnd);
  lpPaint->fErase = FALSE;
  if (erase) lpPaint->fErase = SendMessageA(hWnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(lpPaint->hdc), 0) ? FALSE : TRUE;
  return lpPaint->hdc;
}

BOOL WINAPI EndPaint(HWND hWnd, const PAINTSTRUCT* lpPaint) {
  if (!lpPaint) return FALSE;
  ReleaseSystemWindowDc(hWnd, lpPaint->hdc);
  return TRUE;
}

BOOL WINAPI ClientToScreen(HWND hWnd, LPPOINT lpPoint) {
  if (!lpPoint || !IsWindow(hWnd)) return FALSE;
  const POINT origin = orv::ui::ClientOrigin(hWnd);
  lpPoint->x += origin.x;
  lpPoint->y += origin.y;
  return TRUE;
}

BOOL WINAPI ScreenToClient(HWND hWnd, LPPOINT lpPoint) {
  if (!lpPoint || !IsWindow(hWnd)) return FALSE;
  const POINT origin = orv::ui::ClientOrigin(hWnd);
  lpPoint->x -= origin.x;
  lpPoint->y -= origin.y;
  return TRUE;
}

int WINAPI MapWindowPoints(HWND hWndFrom, HWND hWndTo, LPPOINT lpPoints, UINT cPoints) {
  const POINT from = hWndFrom ? orv::ui::ClientOrigin(hWndFrom) : POINT{0, 0};
  const POINT to = hWndTo ? orv::ui::ClientOrigin(hWndTo) : POINT{0, 0};
  const LONG dx = from.x - to.x, dy = from.y - to.y;
  for (UINT i = 0; lpPoints && i < cPoints; ++i) {
    lpPoints[i].x += dx;
    lpPoints[i].y += dy;
  }
  SetLastError(0);
  return static_cast<int>(MAKELONG(static_cast<WORD>(dx), static_cast<WORD>(dy)));
}

}  // extern "C"
