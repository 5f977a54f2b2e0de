// The table of live windows and the window attributes. Handle values are never
// reused, so a stale handle cannot reach a newer window.
#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/base/error.h"
#include <windows.h>
#include "platform/text/sim/ansi.h"
#include "platform/ui/internal.h"
#include "platform/ui/message.h"

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

void Notify(HWND hwnd, WindowEvent event) {
  std::vector<WindowObserver> observers;
  {
    Registry& r = TheRegistry();
    std::lock_guard<std::mutex> lock(r.mutex);
    for (auto& entry : r.observers) observers.push_back(entry.second);
  }
  for (auto& observer : observers) observer(hwnd, event);
}

// Runs f on the live window record under the registry lock; false for a bad handle.
template <class F>
bool WithWindow(HWND hwnd, F&& f) {
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

}  // namespace

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

LRESULT CallWindow(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  WNDPROC proc = nullptr;
  WindowHandler* handler = nullptr;
  if (!WithWindow(hwnd, [&](Window& w) { proc = w.proc; handler = w.handler; })) return 0;
  if (handler) return handler->WindowProc(hwnd, message, wParam, lParam);
  return proc ? proc(hwnd, message, wParam, lParam) : 0;
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

}  // namespace orv::ui

namespace orv::win {

using namespace orv::ui::detail;

HWND CreateWindowHandle(const WindowCreate& create) {
  if ((create.proc == nullptr) == (create.handler == nullptr)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto window = std::make_shared<Window>();
  window->thread = GetCurrentThreadId();
  window->queue = CurrentQueue();
  window->proc = create.proc;
  window->handler = create.handler;
  window->rect = create.rect;
  window->visible = (create.style & WS_VISIBLE) != 0;
  window->text = create.title;
  window->style = create.style;
  window->exStyle = create.exStyle;
  window->parent = create.parent;
  {
    Registry& r = TheRegistry();
    std::lock_guard<std::mutex> lock(r.mutex);
    window->handle = reinterpret_cast<HWND>(r.next);
    r.next += 2;
    r.windows.emplace(Key(window->handle), window);
  }
  HWND hwnd = window->handle;
  Notify(hwnd, orv::ui::WindowEvent::Created);
  if (CallWindow(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&create)) == -1) {
    DestroyWindow(hwnd);
    return nullptr;
  }
  return hwnd;
}

BOOL DestroyWindow(HWND hwnd) {
  auto window = OwnWindowRecord(hwnd);
  if (!window) return FALSE;
  CallWindow(hwnd, WM_DESTROY, 0, 0);
  CallWindow(hwnd, WM_NCDESTROY, 0, 0);
  {
    Registry& r = TheRegistry();
    std::lock_guard<std::mutex> lock(r.mutex);
    r.windows.erase(Key(hwnd));
  }
  ForgetWindow(*window->queue, hwnd);
  Notify(hwnd, orv::ui::WindowEvent::Destroyed);
  return TRUE;
}

BOOL IsWindow(HWND hwnd) { return FindWindowRecord(hwnd) ? TRUE : FALSE; }

DWORD GetWindowThreadProcessId(HWND hwnd, DWORD* processId) {
  DWORD thread = 0;
  if (!WithWindow(hwnd, [&](Window& w) { thread = w.thread; })) return 0;
  if (processId) *processId = GetCurrentProcessId();
  return thread;
}

BOOL GetWindowRect(HWND hwnd, RECT* rect) {
  if (!rect) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return WithWindow(hwnd, [&](Window& w) { *rect = w.rect; }) ? TRUE : FALSE;
}

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL /*repaint*/) {
  if (!WithWindow(hwnd, [&](Window& w) { w.rect = RECT{x, y, x + width, y + height}; })) return FALSE;
  Notify(hwnd, orv::ui::WindowEvent::Moved);
  return TRUE;
}

BOOL ShowWindow(HWND hwnd, int command) {
  bool before = false;
  bool after = command != SW_HIDE;
  if (!WithWindow(hwnd, [&](Window& w) { before = w.visible; w.visible = after; })) return FALSE;
  if (before != after) {
    SendMessageA(hwnd, WM_SHOWWINDOW, after ? 1 : 0, 0);
    Notify(hwnd, after ? orv::ui::WindowEvent::Shown : orv::ui::WindowEvent::Hidden);
  }
  return before ? TRUE : FALSE;
}

BOOL IsWindowVisible(HWND hwnd) {
  bool visible = false;
  WithWindow(hwnd, [&](Window& w) { visible = w.visible; });
  return visible ? TRUE : FALSE;
}

BOOL SetWindowTextA(HWND hwnd, const char* text) {
  if (!WithWindow(hwnd, [&](Window& w) { w.text = text ? text : ""; })) return FALSE;
  Notify(hwnd, orv::ui::WindowEvent::TextChanged);
  return TRUE;
}

int GetWindowTextA(HWND hwnd, char* text, int maxCount) {
  std::string copy;
  if (!WithWindow(hwnd, [&](Window& w) { copy = w.text; }) || !text || maxCount <= 0) {
    if (text && maxCount > 0) text[0] = '\0';
    return 0;
  }
  return static_cast<int>(orv::text::CopyBounded(text, static_cast<std::size_t>(maxCount), copy.c_str()));
}

HWND GetParent(HWND hwnd) {
  HWND parent = nullptr;
  WithWindow(hwnd, [&](Window& w) { parent = w.parent; });
  return parent;
}

std::intptr_t GetWindowLongPtrA(HWND hwnd, int index) {
  std::intptr_t value = 0;
  WithWindow(hwnd, [&](Window& w) {
    switch (index) {
      case GWLP_USERDATA: value = w.userData; break;
      case GWLP_WNDPROC: value = reinterpret_cast<std::intptr_t>(w.proc); break;
      case GWL_STYLE: value = static_cast<std::intptr_t>(w.style); break;
      case GWL_EXSTYLE: value = static_cast<std::intptr_t>(w.exStyle); break;
      default: SetLastError(ERROR_INVALID_PARAMETER); break;
    }
  });
  return value;
}

std::intptr_t SetWindowLongPtrA(HWND hwnd, int index, std::intptr_t value) {
  std::intptr_t old = 0;
  WithWindow(hwnd, [&](Window& w) {
    switch (index) {
      case GWLP_USERDATA: old = std::exchange(w.userData, value); break;
      case GWLP_WNDPROC:
        // A handler object gives way to the procedure, as subclassing replaces it.
        old = reinterpret_cast<std::intptr_t>(w.proc);
        w.proc = reinterpret_cast<WNDPROC>(value);
        if (w.proc) w.handler = nullptr;
        break;
      case GWL_STYLE:
        old = static_cast<std::intptr_t>(std::exchange(w.style, static_cast<DWORD>(value)));
        break;
      case GWL_EXSTYLE:
        old = static_cast<std::intptr_t>(std::exchange(w.exStyle, static_cast<DWORD>(value)));
        break;
      default: SetLastError(ERROR_INVALID_PARAMETER); break;
    }
  });
  return old;
}

BOOL SetPropA(HWND hwnd, const char* name, HANDLE data) {
  if (!name || !*name) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return WithWindow(hwnd, [&](Window& w) { w.props[FoldCase(name)] = data; }) ? TRUE : FALSE;
}

HANDLE GetPropA(HWND hwnd, const char* name) {
  HANDLE data = nullptr;
  if (!name) return nullptr;
  WithWindow(hwnd, [&](Window& w) {
    auto it = w.props.find(FoldCase(name));
    if (it != w.props.end()) data = it->second;
  });
  return data;
}

HANDLE RemovePropA(HWND hwnd, const char* name) {
  HANDLE data = nullptr;
  if (!name) return nullptr;
  WithWindow(hwnd, [&](Window& w) {
    auto it = w.props.find(FoldCase(name));
    if (it != w.props.end()) {
      data = it->second;
      w.props.erase(it);
    }
  });
  return data;
}

BOOL EnumWindows(WNDENUMPROC callback, LPARAM lParam) {
  if (!callback) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::vector<HWND> top;
  {
    Registry& r = TheRegistry();
    std::lock_guard<std::mutex> lock(r.mutex);
    for (auto& entry : r.windows) if (!entry.second->parent) top.push_back(entry.second->handle);
  }
  for (HWND hwnd : top) {
    if (IsWindow(hwnd) && !callback(hwnd, lParam)) break;
  }
  return TRUE;
}

LRESULT DefWindowProcA(HWND hwnd, UINT message, WPARAM, LPARAM) {
  switch (message) {
    case WM_CLOSE: DestroyWindow(hwnd); return 0;
    case WM_QUERYENDSESSION: return TRUE;
    default: return 0;
  }
}

}  // namespace orv::win
