// The foreground record, the shell's windows, the maximised and client-area
// calls, the monitor calls, and the stand-in program in front.
#include "platform/desktop/sim/foreground.h"

#include <windows.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "platform/desktop/sim/screen.h"
#include "platform/gfx/sim/gdi.h"
#include "platform/ui/sim/class_window.h"

namespace gfx = orv::gfx;

namespace {

constexpr int kCaptionHeight = 23;  // as the window manager's (platform/ui/sim)
HMONITOR const kPrimary = reinterpret_cast<HMONITOR>(static_cast<std::uintptr_t>(0x10001));

std::atomic<HWND> g_foreground{nullptr};

LRESULT ShellProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

// One of the desktop's hidden screen-sized windows, made on first use (at the
// bottom of the z-order: the wallpaper stands for it on the screen) and made
// again if the thread that had it has ended.
HWND ShellWindow(HWND& slot, const char* className) {
  static std::mutex m;
  std::lock_guard<std::mutex> lock(m);
  if (slot && IsWindow(slot)) return slot;
  orv::desktop::Config c = orv::desktop::CurrentConfig();
  slot = orv::ui::CreateClassWindow(className, ShellProc, WS_POPUP, 0, RECT{0, 0, c.width, c.height}, "");
  if (slot) SetWindowPos(slot, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  return slot;
}

bool OnScreen(const RECT& r) {
  orv::desktop::Config c = orv::desktop::CurrentConfig();
  return r.right > 0 && r.bottom > 0 && r.left < c.width && r.top < c.height;
}

}  // namespace

HWND WINAPI GetShellWindow(void) {
  static HWND shell = nullptr;
  return ShellWindow(shell, orv::desktop::kShellClass);
}

HWND WINAPI GetDesktopWindow(void) {
  static HWND root = nullptr;
  return ShellWindow(root, orv::desktop::kRootClass);
}

HWND WINAPI GetForegroundWindow(void) {
  HWND front = g_foreground.load();
  if (front && IsWindow(front) && IsWindowVisible(front)) return front;
  return GetShellWindow();
}

BOOL WINAPI SetForegroundWindow(HWND hWnd) {
  if (!IsWindow(hWnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  g_foreground = hWnd;
  return TRUE;
}

BOOL WINAPI IsZoomed(HWND hWnd) {
  return IsWindow(hWnd) && (GetWindowLongPtrA(hWnd, GWL_STYLE) & WS_MAXIMIZE) ? TRUE : FALSE;
}

BOOL WINAPI GetClientRect(HWND hWnd, LPRECT lpRect) {
  RECT r;
  if (!lpRect || !GetWindowRect(hWnd, &r)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  bool captioned = (GetWindowLongPtrA(hWnd, GWL_STYLE) & WS_CAPTION) == WS_CAPTION;
  LONG height = r.bottom - r.top - (captioned ? kCaptionHeight : 0);
  *lpRect = RECT{0, 0, r.right - r.left, height > 0 ? height : 0};
  return TRUE;
}

HMONITOR WINAPI MonitorFromWindow(HWND hwnd, DWORD dwFlags) {
  RECT r;
  if (!GetWindowRect(hwnd, &r)) return dwFlags == MONITOR_DEFAULTTONULL ? nullptr : kPrimary;
  return OnScreen(r) || dwFlags != MONITOR_DEFAULTTONULL ? kPrimary : nullptr;
}

HMONITOR WINAPI MonitorFromPoint(POINT pt, DWORD dwFlags) {
  return OnScreen(RECT{pt.x, pt.y, pt.x + 1, pt.y + 1}) || dwFlags != MONITOR_DEFAULTTONULL ? kPrimary : nullptr;
}

BOOL WINAPI GetMonitorInfoA(HMONITOR hMonitor, LPMONITORINFO lpmi) {
  if (hMonitor != kPrimary || !lpmi || lpmi->cbSize != sizeof(MONITORINFO)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  orv::desktop::Config c = orv::desktop::CurrentConfig();
  lpmi->rcMonitor = RECT{0, 0, c.width, c.height};
  lpmi->rcWork = orv::desktop::WorkArea(c);
  lpmi->dwFlags = MONITORINFOF_PRIMARY;
  return TRUE;
}

int WINAPI GetSystemMetrics(int nIndex) {
  orv::desktop::Config c = orv::desktop::CurrentConfig();
  RECT work = orv::desktop::WorkArea(c);
  switch (nIndex) {
    case SM_CXSCREEN:
    case SM_CXVIRTUALSCREEN: return c.width;
    case SM_CYSCREEN:
    case SM_CYVIRTUALSCREEN: return c.height;
    case SM_CYCAPTION: return kCaptionHeight;
    case SM_CXFULLSCREEN: return work.right - work.left;
    // A full-screen window's client area: the work area less the caption.
    case SM_CYFULLSCREEN: return work.bottom - work.top - kCaptionHeight;
    case SM_CMONITORS: return 1;
    default: return 0;  // SM_XVIRTUALSCREEN, SM_YVIRTUALSCREEN and unknown indexes
  }
}

BOOL WINAPI SystemParametersInfoA(UINT uiAction, UINT, PVOID pvParam, UINT) {
  if (uiAction != SPI_GETWORKAREA || !pvParam) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  *static_cast<RECT*>(pvParam) = orv::desktop::WorkArea(orv::desktop::CurrentConfig());
  return TRUE;
}

namespace orv::desktop {
namespace {

struct Player {
  std::mutex mutex;
  std::condition_variable changed;
  std::thread thread;
  HWND window = nullptr;
  PlayerMode mode = PlayerMode::Off;
  bool ready = false;  // the thread has made its window, or failed to
};

Player& ThePlayer() {
  static Player* player = new Player;  // its thread may outlive static destruction order
  return *player;
}

LRESULT PlayerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

void RunPlayer(Player* p, PlayerMode mode) {
  Config c = CurrentConfig();
  HWND hwnd = ui::CreateClassWindow(kPlayerClass, PlayerProc, WS_POPUP | (mode == PlayerMode::Maximized ? WS_MAXIMIZE : 0),
                                    0, RECT{0, 0, c.width, c.height}, "Player");
  if (hwnd) {
    HDC dc = GetDC(hwnd);  // a dark picture, as a film shows
    if (gfx::Surface* s = gfx::DcSurface(dc)) gfx::FillRect(*s, 0, 0, s->width, s->height, 0xFF101010);
    ReleaseDC(hwnd, dc);
    SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ShowWindow(hwnd, SW_SHOW);
    SetForegroundWindow(hwnd);
  }
  {
    std::lock_guard<std::mutex> lock(p->mutex);
    p->window = hwnd;
    p->mode = hwnd ? mode : PlayerMode::Off;
    p->ready = true;
  }
  p->changed.notify_all();
  if (!hwnd) return;
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0)) DispatchMessageA(&msg);
}

}  // namespace

void SetPlayer(PlayerMode mode) {
  Player& p = ThePlayer();
  std::unique_lock<std::mutex> lock(p.mutex);
  if (p.window) {
    PostMessageA(p.window, WM_CLOSE, 0, 0);
    p.window = nullptr;
    p.mode = PlayerMode::Off;
    lock.unlock();
    if (p.thread.joinable()) p.thread.join();
    lock.lock();
  }
  if (p.thread.joinable()) {  // a player that failed to start, already ended
    lock.unlock();
    p.thread.join();
    lock.lock();
  }
  if (mode == PlayerMode::Off) return;
  p.ready = false;
  p.thread = std::thread(RunPlayer, &p, mode);
  p.changed.wait(lock, [&] { return p.ready; });
}

PlayerMode CurrentPlayer() {
  Player& p = ThePlayer();
  std::lock_guard<std::mutex> lock(p.mutex);
  return p.mode;
}

}  // namespace orv::desktop
