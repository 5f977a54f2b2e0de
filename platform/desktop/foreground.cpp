// The foreground record, the monitor calls and the stand-in program in front.
#include "platform/desktop/foreground.h"

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "platform/base/error.h"
#include "platform/desktop/screen.h"
#include "platform/desktop/windows.h"
#include "platform/ui/sim/class_window.h"

namespace orv::win {
namespace {

constexpr int kCaptionHeight = 23;  // as the window manager's (platform/ui/sim)
HMONITOR const kPrimary = reinterpret_cast<HMONITOR>(static_cast<std::uintptr_t>(0x10001));

std::atomic<HWND> g_foreground{nullptr};

LRESULT DesktopProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

// The desktop window: made on first use, kept hidden (the wallpaper stands for it
// on the screen), made again if the thread that had it has ended.
HWND DesktopWindow() {
  static std::mutex m;
  static HWND desktop = nullptr;
  std::lock_guard<std::mutex> lock(m);
  if (desktop && IsWindow(desktop)) return desktop;
  desktop::Config c = desktop::CurrentConfig();
  desktop = orv::ui::CreateClassWindow(desktop::kDesktopClass, DesktopProc, WS_POPUP, 0,
                                       RECT{0, 0, c.width, c.height}, "");
  if (desktop) {
    SetWindowPos(desktop, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  return desktop;
}

}  // namespace

HWND GetForegroundWindow() {
  HWND front = g_foreground.load();
  if (front && IsWindow(front) && IsWindowVisible(front)) return front;
  return DesktopWindow();
}

BOOL SetForegroundWindow(HWND hwnd) {
  if (!IsWindow(hwnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  g_foreground = hwnd;
  return TRUE;
}

BOOL IsZoomed(HWND hwnd) {
  return IsWindow(hwnd) && (GetWindowLongPtrA(hwnd, GWL_STYLE) & WS_MAXIMIZE) ? TRUE : FALSE;
}

BOOL GetClientRect(HWND hwnd, RECT* rect) {
  RECT r;
  if (!rect || !GetWindowRect(hwnd, &r)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  LONG caption = (GetWindowLongPtrA(hwnd, GWL_STYLE) & WS_CAPTION) == WS_CAPTION ? kCaptionHeight : 0;
  LONG height = r.bottom - r.top - caption;
  *rect = RECT{0, 0, r.right - r.left, height > 0 ? height : 0};
  return TRUE;
}

HMONITOR MonitorFromWindow(HWND hwnd, DWORD flags) {
  RECT r;
  if (!GetWindowRect(hwnd, &r)) return flags == MONITOR_DEFAULTTONULL ? nullptr : kPrimary;
  desktop::Config c = desktop::CurrentConfig();
  bool on = r.right > 0 && r.bottom > 0 && r.left < c.width && r.top < c.height;
  if (!on && flags == MONITOR_DEFAULTTONULL) return nullptr;
  return kPrimary;
}

BOOL GetMonitorInfoA(HMONITOR monitor, MONITORINFO* info) {
  if (monitor != kPrimary || !info || info->cbSize != sizeof(MONITORINFO)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  desktop::Config c = desktop::CurrentConfig();
  info->rcMonitor = RECT{0, 0, c.width, c.height};
  info->rcWork = desktop::WorkArea(c);
  info->dwFlags = MONITORINFOF_PRIMARY;
  return TRUE;
}

}  // namespace orv::win

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

win::LRESULT PlayerProc(HWND hwnd, win::UINT message, win::WPARAM wParam, win::LPARAM lParam) {
  if (message == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

void RunPlayer(Player* p, PlayerMode mode) {
  Config c = CurrentConfig();
  HWND hwnd = ui::CreateClassWindow(kPlayerClass, PlayerProc, WS_POPUP | (mode == PlayerMode::Maximized ? WS_MAXIMIZE : 0),
                                    0, win::RECT{0, 0, c.width, c.height}, "Player");
  if (hwnd) {
    gfx::HDC dc = win::GetDC(hwnd);  // a dark picture, as a film shows
    if (gfx::Surface* s = gfx::DcSurface(dc)) gfx::FillRect(*s, 0, 0, s->width, s->height, 0xFF101010);
    win::ReleaseDC(hwnd, dc);
    win::SetWindowPos(hwnd, win::HWND_TOP, 0, 0, 0, 0, win::SWP_NOMOVE | win::SWP_NOSIZE);
    ShowWindow(hwnd, SW_SHOW);
    win::SetForegroundWindow(hwnd);
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
