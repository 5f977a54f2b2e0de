// The table of live windows and the window attributes. Handle values are never
// reused, so a stale handle cannot reach a newer window.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <utility>

#include "platform/text/sim/ansi.h"
#include "platform/ui/sim/internal.h"

namespace orv::ui::detail {
namespace {

struct Registry {
  std::mutex mutex;
  std::uintptr_t next = 0x10010;
  std::map<std::uintptr_t, std::shared_ptr<Window>> windows;  // ordered: oldest first
  int nextCookie = 1;
  std::map<int, WindowObserver> observers;
};

Registry& TheRegistry() {
  static Registry* registry = new Registry;  // never destroyed: windows may end during exit
  return *registry;
}

std::uintptr_t Key(HWND hwnd) { return reinterpret_cast<std::uintptr_t>(hwnd); }

std::atomic<HandledObserver>& TheHandledObserver() {
  static std::atomic<HandledObserver> observer{nullptr};
  return observer;
}

}  // namespace

void Notify(HWND hwnd, WindowEvent event) {
  std::vector<WindowObserver> observers;
  {
    Registry& r = TheRegistry();
    std::lock_guard<std::mutex> lock(r.mutex);
    for (auto& entry : r.observers) observers.push_back(entry.second);
  }
  for (auto& observer : observers) observer(hwnd, event);
}

bool WithWindow(HWND hwnd, const std::function<void(Window&)>& f) {
  Registry& r = TheRegistry();
  std::lock_guard<std::mutex> lock(r.mutex);
  auto it = r.windows.find(Key(hwnd));
  if (it == r.windows.end()) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return false;
  }
  f(*it->second);
  return true;
}

std::string FoldCase(const std::string& s) {
  std::string out = s;
  for (char& c : out) if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

std::shared_ptr<Window> FindWindowRecord(HWND hwnd) {
  Registry& r = TheRegistry();
  std::lock_guard<std::mutex> lock(r.mutex);
  auto it = r.windows.find(Key(hwnd));
  return it == r.windows.end() ? nullptr : it->second;
}

std::shared_ptr<Window> OwnWindowRecord(HWND hwnd) {
  auto window = FindWindowRecord(hwnd);
  if (!window) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
  } else if (window->thread != GetCurrentThreadId()) {
    SetLastError(ERROR_ACCESS_DENIED);
    window = nullptr;
  }
  return window;
}

std::vector<HWND> SelectWindows(const std::function<bool(const Window&)>& keep) {
  Registry& r = TheRegistry();
  std::lock_guard<std::mutex> lock(r.mutex);
  std::vector<HWND> out;
  for (auto& entry : r.windows)
    if (keep(*entry.second)) out.push_back(entry.second->handle);
  return out;
}

HWND AddWindow(const std::shared_ptr<Window>& window) {
  Registry& r = TheRegistry();
  std::lock_guard<std::mutex> lock(r.mutex);
  window->handle = reinterpret_cast<HWND>(r.next);
  r.next += 2;
  r.windows.emplace(Key(window->handle), window);
  return window->handle;
}

void RemoveWindow(HWND hwnd) {
  Registry& r = TheRegistry();
  std::lock_guard<std::mutex> lock(r.mutex);
  r.windows.erase(Key(hwnd));
}

LRESULT CallWindow(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  WNDPROC proc = nullptr;
  if (!WithWindow(hwnd, [&](Window& w) { proc = w.proc; })) return 0;
  const LRESULT result = proc ? proc(hwnd, message, wParam, lParam) : 0;
  if (HandledObserver observer = TheHandledObserver().load(std::memory_order_acquire)) observer();
  return result;
}

void DropThreadWindows(DWORD thread) {
  std::vector<HWND> gone;
  {
    Registry& r = TheRegistry();
    std::lock_guard<std::mutex> lock(r.mutex);
    for (auto it = r.windows.begin(); it != r.windows.end();) {
      if (it->second->thread == thread) {
        gone.push_back(it->second->handle);
        it = r.windows.erase(it);
      } else {
        ++it;
      }
    }
  }
  for (HWND hwnd : gone) Notify(hwnd, WindowEvent::Destroyed);
}

}  // namespace orv::ui::detail

namespace orv::ui {

int AddWindowObserver(WindowObserver observer) {
  auto& r = detail::TheRegistry();
  std::lock_guard<std::mutex> lock(r.mutex);
  int cookie = r.nextCookie++;
  r.observers.emplace(cookie, std::move(observer));
  return cookie;
}

void RemoveWindowObserver(int cookie) {
  auto& r = detail::TheRegistry();
  std::lock_guard<std::mutex> lock(r.mutex);
  r.observers.erase(cookie);
}

void SetHandledObserver(HandledObserver observer) {
  detail::TheHandledObserver().store(observer, std::memory_order_release);
}

}  // namespace orv::ui

using namespace orv::ui::detail;
using orv::ui::WindowEvent;

extern "C" {

BOOL WINAPI IsWindow(HWND hWnd) { return FindWindowRecord(hWnd) ? TRUE : FALSE; }

BOOL WINAPI IsChild(HWND hWndParent, HWND hWnd) {
  for (auto w = FindWindowRecord(hWnd); w && (w->style & WS_CHILD); w = FindWindowRecord(w->parent))
    if (w->parent == hWndParent) return TRUE;
  return FALSE;
}

HWND WINAPI GetParent(HWND hWnd) {
  HWND parent = nullptr;
  WithWindow(hWnd, [&](Window& w) {
    if (w.style & (WS_CHILD | WS_POPUP)) parent = w.parent;
  });
  return parent;
}

DWORD WINAPI GetWindowThreadProcessId(HWND hWnd, LPDWORD lpdwProcessId) {
  DWORD thread = 0;
  if (!WithWindow(hWnd, [&](Window& w) { thread = w.thread; })) return 0;
  if (lpdwProcessId) *lpdwProcessId = GetCurrentProcessId();
  return thread;
}

BOOL WINAPI GetWindowRect(HWND hWnd, LPRECT lpRect) {
  if (!lpRect) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  RECT r{};
  DWORD style = 0;
  HWND parent = nullptr;
  if (!WithWindow(hWnd, [&](Window& w) {
        r = w.rect;
        style = w.style;
        parent = w.parent;
      }))
    return FALSE;
  // A child's rectangle is kept relative to its parent's client area.
  RECT outer{};
  if ((style & WS_CHILD) && GetWindowRect(parent, &outer)) {
    const bool caption = (GetWindowLongPtrA(parent, GWL_STYLE) & WS_CAPTION) == WS_CAPTION;
    const LONG top = outer.top + (caption ? kCaptionHeight : 0);
    r = RECT{r.left + outer.left, r.top + top, r.right + outer.left, r.bottom + top};
  }
  *lpRect = r;
  return TRUE;
}

BOOL WINAPI MoveWindow(HWND hWnd, int X, int Y, int nWidth, int nHeight, BOOL bRepaint) {
  bool resized = false;
  if (!WithWindow(hWnd, [&](Window& w) {
        resized = w.rect.right - w.rect.left != nWidth || w.rect.bottom - w.rect.top != nHeight;
        w.rect = RECT{X, Y, X + nWidth, Y + nHeight};
      }))
    return FALSE;
  if (resized && bRepaint) InvalidateWindow(hWnd, true, true);
  Notify(hWnd, WindowEvent::Moved);
  return TRUE;
}

BOOL WINAPI ShowWindow(HWND hWnd, int nCmdShow) {
  bool before = false;
  bool after = nCmdShow != SW_HIDE;
  if (!WithWindow(hWnd, [&](Window& w) {
        before = w.visible;
        w.visible = after;
        if (after) w.style |= WS_VISIBLE;
        else w.style &= ~static_cast<DWORD>(WS_VISIBLE);
      }))
    return FALSE;
  if (before != after) {
    SendMessageA(hWnd, WM_SHOWWINDOW, after ? 1 : 0, 0);
    if (after) InvalidateWindow(hWnd, true, true);
    Notify(hWnd, after ? WindowEvent::Shown : WindowEvent::Hidden);
  }
  return before ? TRUE : FALSE;
}

BOOL WINAPI IsWindowVisible(HWND hWnd) {
  bool visible = false;
  WithWindow(hWnd, [&](Window& w) { visible = w.visible; });
  return visible ? TRUE : FALSE;
}

BOOL WINAPI EnableWindow(HWND hWnd, BOOL bEnable) {
  bool before = true;
  if (!WithWindow(hWnd, [&](Window& w) {
        before = w.enabled;
        w.enabled = bEnable != FALSE;
        if (w.enabled) w.style &= ~static_cast<DWORD>(WS_DISABLED);
        else w.style |= WS_DISABLED;
      }))
    return FALSE;
  if (before != (bEnable != FALSE)) SendMessageA(hWnd, WM_ENABLE, bEnable ? TRUE : FALSE, 0);
  return before ? FALSE : TRUE;
}

BOOL WINAPI IsWindowEnabled(HWND hWnd) {
  bool enabled = false;
  WithWindow(hWnd, [&](Window& w) { enabled = w.enabled; });
  return enabled ? TRUE : FALSE;
}

HWND WINAPI SetFocus(HWND hWnd) {
  auto queue = CurrentQueue();
  if (hWnd && !OwnWindowRecord(hWnd)) return nullptr;
  HWND before;
  {
    std::lock_guard<std::mutex> lock(queue->mutex);
    before = queue->focus;
    queue->focus = hWnd;
  }
  if (before == hWnd) return before;
  if (before && IsWindow(before)) SendMessageA(before, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hWnd), 0);
  if (hWnd) SendMessageA(hWnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(before), 0);
  return before;
}

HWND WINAPI GetFocus(void) {
  auto queue = CurrentQueue();
  std::lock_guard<std::mutex> lock(queue->mutex);
  return queue->focus && IsWindow(queue->focus) ? queue->focus : nullptr;
}

BOOL WINAPI SetWindowTextA(HWND hWnd, LPCSTR lpString) {
  if (!IsWindow(hWnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  return SendMessageA(hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(lpString)) ? TRUE : FALSE;
}

int WINAPI GetWindowTextA(HWND hWnd, LPSTR lpString, int nMaxCount) {
  std::string copy;
  if (!WithWindow(hWnd, [&](Window& w) { copy = w.text; }) || !lpString || nMaxCount <= 0) {
    if (lpString && nMaxCount > 0) lpString[0] = '\0';
    return 0;
  }
  return static_cast<int>(orv::text::CopyBounded(lpString, static_cast<std::size_t>(nMaxCount), copy.c_str()));
}

int WINAPI GetWindowTextLengthA(HWND hWnd) {
  int length = 0;
  WithWindow(hWnd, [&](Window& w) { length = static_cast<int>(w.text.size()); });
  return length;
}

LONG_PTR WINAPI GetWindowLongPtrA(HWND hWnd, int nIndex) {
  LONG_PTR value = 0;
  WithWindow(hWnd, [&](Window& w) {
    switch (nIndex) {
      case GWLP_USERDATA: value = w.userData; break;
      case GWLP_WNDPROC: value = reinterpret_cast<LONG_PTR>(w.proc); break;
      case GWLP_ID: value = w.id; break;
      case GWLP_HINSTANCE: value = reinterpret_cast<LONG_PTR>(w.instance); break;
      case GWLP_HWNDPARENT: value = reinterpret_cast<LONG_PTR>(w.parent); break;
      case GWL_STYLE: value = static_cast<LONG_PTR>(w.style); break;
      case GWL_EXSTYLE: value = static_cast<LONG_PTR>(w.exStyle); break;
      default: SetLastError(ERROR_INVALID_INDEX); break;
    }
  });
  return value;
}

LONG_PTR WINAPI SetWindowLongPtrA(HWND hWnd, int nIndex, LONG_PTR dwNewLong) {
  LONG_PTR old = 0;
  WithWindow(hWnd, [&](Window& w) {
    switch (nIndex) {
      case GWLP_USERDATA: old = std::exchange(w.userData, dwNewLong); break;
      case GWLP_WNDPROC:
        old = reinterpret_cast<LONG_PTR>(std::exchange(w.proc, reinterpret_cast<WNDPROC>(dwNewLong)));
        break;
      case GWLP_ID: old = std::exchange(w.id, dwNewLong); break;
      case GWLP_HINSTANCE:
        old = reinterpret_cast<LONG_PTR>(std::exchange(w.instance, reinterpret_cast<HINSTANCE>(dwNewLong)));
        break;
      case GWL_STYLE:
        old = static_cast<LONG_PTR>(std::exchange(w.style, static_cast<DWORD>(dwNewLong)));
        break;
      case GWL_EXSTYLE:
        old = static_cast<LONG_PTR>(std::exchange(w.exStyle, static_cast<DWORD>(dwNewLong)));
        break;
      default: SetLastError(ERROR_INVALID_INDEX); break;
    }
  });
  return old;
}

BOOL WINAPI SetPropA(HWND hWnd, LPCSTR lpString, HANDLE hData) {
  if (!lpString || !*lpString) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return WithWindow(hWnd, [&](Window& w) { w.props[FoldCase(lpString)] = hData; }) ? TRUE : FALSE;
}

HANDLE WINAPI GetPropA(HWND hWnd, LPCSTR lpString) {
  HANDLE data = nullptr;
  if (!lpString) return nullptr;
  WithWindow(hWnd, [&](Window& w) {
    auto it = w.props.find(FoldCase(lpString));
    if (it != w.props.end()) data = it->second;
  });
  return data;
}

HANDLE WINAPI RemovePropA(HWND hWnd, LPCSTR lpString) {
  HANDLE data = nullptr;
  if (!lpString) return nullptr;
  WithWindow(hWnd, [&](Window& w) {
    auto it = w.props.find(FoldCase(lpString));
    if (it != w.props.end()) {
      data = it->second;
      w.props.erase(it);
    }
  });
  return data;
}

BOOL WINAPI EnumWindows(WNDENUMPROC lpEnumFunc, LPARAM lParam) {
  if (!lpEnumFunc) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  for (HWND hwnd : SelectWindows([](const Window& w) { return !(w.style & WS_CHILD); })) {
    if (IsWindow(hwnd) && !lpEnumFunc(hwnd, lParam)) break;
  }
  return TRUE;
}

}  // extern "C"
