// Z-order, layered contents, regions, window DCs and the window search of
// top-level windows. The list follows the window manager: every use brings it up
// to date with the live windows, and a destroyed window's record goes at once.
// The same watch makes a process serve its screen once it shows a window of its
// own.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <map>
#include <set>

#include "platform/desktop/sim/compositor.h"
#include "platform/desktop/sim/foreground.h"
#include "platform/desktop/sim/frame_server.h"
#include "platform/desktop/sim/programs.h"
#include "platform/desktop/sim/power_watch.h"
#include "platform/desktop/sim/state.h"
#include "platform/desktop/sim/taskbar.h"
#include "platform/desktop/sim/watch.h"
#include "platform/desktop/sim/zorder.h"
#include "platform/gfx/sim/gdi.h"
#include "platform/ui/sim/look.h"
#include "platform/ui/sim/window_events.h"

namespace orv::desktop::detail {
namespace {

struct State {
  std::vector<HWND> order;  // bottom first
  std::map<HWND, WindowRecord> records;
};

void Forget(State& s, HWND hwnd) {
  auto it = s.records.find(hwnd);
  if (it == s.records.end()) return;
  if (it->second.region) DeleteObject(it->second.region);
  s.records.erase(it);
  s.order.erase(std::remove(s.order.begin(), s.order.end(), hwnd), s.order.end());
}

State& TheState();

// The simulated desktop's own windows, which the process shows without meaning to.
bool DesktopClass(const std::string& className) {
  return className == kTaskbarClass || className == kShellClass || className == kRootClass ||
         className == kPlayerClass || className == kProgramClass;
}

// A top-level window of the process's own on the screen: from now on the
// process owns the desktop and serves its frame.
void ServeIfShown(HWND hwnd) {
  // Serving already is the common case: it needs no look at the window records,
  // which the compositor may hold while it draws a frame.
  if ((GetWindowLongPtrA(hwnd, GWL_STYLE) & WS_CHILD) || !IsWindowVisible(hwnd) || ServingHere()) return;
  {
    std::lock_guard<std::recursive_mutex> lock(Lock());
    WindowRecord* record = Find(hwnd);
    if (!record || DesktopClass(record->className)) return;
  }
  if (StartFrameServer()) StartPowerWatch();
}

// A dialog made with DS_CENTER stands in the middle of the work area, as the
// window manager places it.
void CentreDialog(HWND hwnd) {
  const LONG_PTR style = GetWindowLongPtrA(hwnd, GWL_STYLE);
  char cls[16] = "";
  if ((style & WS_CHILD) || !(style & DS_CENTER) || !GetClassNameA(hwnd, cls, sizeof cls) ||
      std::string(cls) != "#32770")
    return;
  RECT r, work;
  if (!GetWindowRect(hwnd, &r) || !SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0)) return;
  const int w = r.right - r.left, h = r.bottom - r.top;
  MoveWindow(hwnd, work.left + (work.right - work.left - w) / 2, work.top + (work.bottom - work.top - h) / 2, w, h,
             FALSE);
}

void OnWindowEvent(HWND hwnd, ui::WindowEvent event) {
  if (event == ui::WindowEvent::Created) CentreDialog(hwnd);
  if (event == ui::WindowEvent::Shown && !(GetWindowLongPtrA(hwnd, GWL_STYLE) & WS_CHILD)) {
    std::lock_guard<std::recursive_mutex> lock(Lock());
    if (WindowRecord* record = Find(hwnd)) record->changedUs = NowUs();
  }
  if (event == ui::WindowEvent::Created || event == ui::WindowEvent::Shown) {
    ServeIfShown(hwnd);
  } else if (event == ui::WindowEvent::Destroyed) {
    std::lock_guard<std::recursive_mutex> lock(Lock());
    Forget(TheState(), hwnd);
  }
  NoteScreenChange();
}

State& TheState() {
  static State* state = [] {
    ui::AddWindowObserver(OnWindowEvent);
    ui::SetWindowDcSource([](HWND hwnd) { return GetDC(hwnd); }, [](HWND hwnd, HDC dc) { ReleaseDC(hwnd, dc); });
    return new State;  // lives as long as the process: windows may go at exit
  }();
  return *state;
}

// The watch starts with the process, before its first window.
const bool kWatching = (TheState(), true);

}  // namespace
}  // namespace orv::desktop::detail

// Every program linked with the desktop asks for this symbol (see the
// CMakeLists.txt), which brings in the watch above even when the program calls
// nothing else of this file.
extern "C" const int orv_desktop_watch = 1;

namespace orv::desktop::detail {
namespace {

// Index in the order where a window of the band goes on top.
std::size_t TopOfBand(const State& s, bool topmost) {
  if (topmost) return s.order.size();
  std::size_t i = 0;
  while (i < s.order.size() && !s.records.at(s.order[i]).topmost) ++i;
  return i;
}

void Add(State& s, HWND hwnd) {
  WindowRecord record;
  record.topmost = (GetWindowLongPtrA(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
  char className[256] = {};
  GetClassNameA(hwnd, className, sizeof className);
  record.className = className;
  std::size_t at = TopOfBand(s, record.topmost);
  s.records.emplace(hwnd, std::move(record));
  s.order.insert(s.order.begin() + static_cast<std::ptrdiff_t>(at), hwnd);
}

void Sync(State& s) {
  std::vector<HWND> live;
  EnumWindows(
      [](HWND hwnd, LPARAM param) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&live));
  std::set<HWND> alive(live.begin(), live.end());
  for (HWND hwnd : std::vector<HWND>(s.order))
    if (!alive.count(hwnd)) Forget(s, hwnd);
  for (HWND hwnd : live)
    if (!s.records.count(hwnd)) Add(s, hwnd);
}

}  // namespace

std::recursive_mutex& Lock() {
  static std::recursive_mutex m;
  return m;
}

std::int64_t NowUs() {
  return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

std::vector<std::pair<HWND, WindowRecord*>> Ordered() {
  State& s = TheState();
  Sync(s);
  std::vector<std::pair<HWND, WindowRecord*>> out;
  for (HWND hwnd : s.order) out.emplace_back(hwnd, &s.records.at(hwnd));
  return out;
}

WindowRecord* Find(HWND hwnd) {
  State& s = TheState();
  auto it = s.records.find(hwnd);
  if (it != s.records.end()) return &it->second;
  if (!IsWindow(hwnd) || (GetWindowLongPtrA(hwnd, GWL_STYLE) & WS_CHILD)) return nullptr;
  Sync(s);
  it = s.records.find(hwnd);
  return it == s.records.end() ? nullptr : &it->second;
}

void Restack(HWND hwnd, HWND insertAfter) {
  State& s = TheState();
  WindowRecord* record = Find(hwnd);
  if (!record) return;
  if (insertAfter == HWND_TOPMOST) record->topmost = true;
  else if (insertAfter == HWND_NOTOPMOST) record->topmost = false;
  s.order.erase(std::remove(s.order.begin(), s.order.end(), hwnd), s.order.end());
  std::size_t at;
  if (insertAfter == HWND_BOTTOM) {
    record->topmost = false;
    at = 0;
  } else if (insertAfter == HWND_TOP || insertAfter == HWND_TOPMOST || insertAfter == HWND_NOTOPMOST) {
    at = TopOfBand(s, record->topmost);
  } else {
    // Just above the given window; joining its band.
    auto it = std::find(s.order.begin(), s.order.end(), insertAfter);
    if (it == s.order.end()) {
      at = TopOfBand(s, record->topmost);
    } else {
      record->topmost = s.records.at(insertAfter).topmost;
      at = static_cast<std::size_t>(it - s.order.begin()) + 1;
    }
  }
  s.order.insert(s.order.begin() + static_cast<std::ptrdiff_t>(at), hwnd);
  std::intptr_t ex = GetWindowLongPtrA(hwnd, GWL_EXSTYLE);
  ex = record->topmost ? (ex | WS_EX_TOPMOST) : (ex & ~std::intptr_t(WS_EX_TOPMOST));
  SetWindowLongPtrA(hwnd, GWL_EXSTYLE, ex);
}

}  // namespace orv::desktop::detail

namespace orv::desktop {

using detail::Lock;

std::vector<HWND> ZOrder() {
  std::lock_guard<std::recursive_mutex> lock(Lock());
  std::vector<HWND> out;
  for (auto& [hwnd, record] : detail::Ordered()) out.push_back(hwnd);
  return out;
}

bool IsTopmost(HWND hwnd) {
  std::lock_guard<std::recursive_mutex> lock(Lock());
  detail::WindowRecord* r = detail::Find(hwnd);
  return r && r->topmost;
}

}  // namespace orv::desktop

using orv::desktop::detail::Find;
using orv::desktop::detail::Lock;
namespace gfx = orv::gfx;

BOOL WINAPI SetWindowPos(HWND hWnd, HWND hWndInsertAfter, int X, int Y, int cx, int cy, UINT uFlags) {
  RECT rect;
  if (!GetWindowRect(hWnd, &rect)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  if (!(uFlags & SWP_NOZORDER)) {
    std::lock_guard<std::recursive_mutex> lock(Lock());
    orv::desktop::detail::Restack(hWnd, hWndInsertAfter);
  }
  if (!(uFlags & SWP_NOMOVE) || !(uFlags & SWP_NOSIZE)) {
    int nx = (uFlags & SWP_NOMOVE) ? rect.left : X, ny = (uFlags & SWP_NOMOVE) ? rect.top : Y;
    int w = (uFlags & SWP_NOSIZE) ? rect.right - rect.left : std::max(cx, 0);
    int h = (uFlags & SWP_NOSIZE) ? rect.bottom - rect.top : std::max(cy, 0);
    MoveWindow(hWnd, nx, ny, w, h, !(uFlags & SWP_NOREDRAW));
  }
  if (uFlags & SWP_SHOWWINDOW) ShowWindow(hWnd, (uFlags & SWP_NOACTIVATE) ? SW_SHOWNA : SW_SHOW);
  if (uFlags & SWP_HIDEWINDOW) ShowWindow(hWnd, SW_HIDE);
  return TRUE;
}

BOOL WINAPI UpdateLayeredWindow(HWND hWnd, HDC, POINT* pptDst, SIZE* psize, HDC hdcSrc, POINT* pptSrc,
                                COLORREF crKey, BLENDFUNCTION* pblend, DWORD dwFlags) {
  RECT rect;
  if (!GetWindowRect(hWnd, &rect)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  if (!(GetWindowLongPtrA(hWnd, GWL_EXSTYLE) & WS_EX_LAYERED) ||
      (dwFlags & ~static_cast<DWORD>(ULW_COLORKEY | ULW_ALPHA | ULW_OPAQUE))) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  int width = rect.right - rect.left, height = rect.bottom - rect.top;
  gfx::Surface contents;
  if (hdcSrc) {
    POINT origin{0, 0};
    const gfx::Surface* source = gfx::DcSurface(hdcSrc, &origin);
    POINT from = pptSrc ? *pptSrc : POINT{0, 0};
    from.x -= origin.x;
    from.y -= origin.y;
    if (!source || !psize || psize->cx <= 0 || psize->cy <= 0 || from.x < 0 || from.y < 0 ||
        from.x + psize->cx > source->width || from.y + psize->cy > source->height) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return FALSE;
    }
    width = psize->cx;
    height = psize->cy;
    contents = gfx::Surface(width, height);
    gfx::CopyRect(contents, 0, 0, *source, from.x, from.y, width, height);
  } else if (psize && (psize->cx != width || psize->cy != height)) {
    SetLastError(ERROR_INVALID_PARAMETER);  // a new size needs new contents
    return FALSE;
  }
  {
    std::lock_guard<std::recursive_mutex> lock(Lock());
    orv::desktop::detail::WindowRecord* record = Find(hWnd);
    if (!record) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return FALSE;
    }
    if (hdcSrc) {
      record->layered = std::move(contents);
      record->layeredSet = true;
      ++record->generation;
      record->changedUs = orv::desktop::detail::NowUs();
    }
    if (pblend) record->blend = *pblend;
    record->ulwFlags = dwFlags;
    record->colourKey = crKey;
  }
  int x = pptDst ? pptDst->x : rect.left, y = pptDst ? pptDst->y : rect.top;
  if (x != rect.left || y != rect.top || width != rect.right - rect.left || height != rect.bottom - rect.top)
    MoveWindow(hWnd, x, y, width, height, FALSE);
  orv::desktop::NoteScreenChange();
  return TRUE;
}

int WINAPI SetWindowRgn(HWND hWnd, HRGN hRgn, BOOL bRedraw) {
  std::lock_guard<std::recursive_mutex> lock(Lock());
  orv::desktop::detail::WindowRecord* record = Find(hWnd);
  if (!record) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  RECT box;
  if (hRgn && GetRgnBox(hRgn, &box) == RGN_ERROR) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (record->region && record->region != hRgn) DeleteObject(record->region);
  record->region = hRgn;
  if (bRedraw) RedrawWindow(hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  orv::desktop::NoteScreenChange();
  return 1;
}

int WINAPI GetWindowRgn(HWND hWnd, HRGN hRgn) {
  std::lock_guard<std::recursive_mutex> lock(Lock());
  orv::desktop::detail::WindowRecord* record = Find(hWnd);
  if (!record || !record->region || !gfx::SetRegionRects(hRgn, gfx::RegionRects(record->region))) return RGN_ERROR;
  RECT box;
  return GetRgnBox(hRgn, &box);
}

namespace {

// The top-level window a window belongs to (itself for a top-level one).
HWND TopLevelOf(HWND hwnd) {
  while (hwnd && (GetWindowLongPtrA(hwnd, GWL_STYLE) & WS_CHILD)) hwnd = GetParent(hwnd);
  return hwnd;
}

// The top-level window's pixels, made (in the dialog face colour) or resized
// to the window the first time a DC draws on them or reads them.
gfx::Surface* ClientPixels(HWND top) {
  RECT rect;
  if (!GetWindowRect(top, &rect)) return nullptr;
  std::lock_guard<std::recursive_mutex> lock(Lock());
  orv::desktop::detail::WindowRecord* record = Find(top);
  if (!record) return nullptr;
  int w = std::max<int>(rect.right - rect.left, 1), h = std::max<int>(rect.bottom - rect.top, 1);
  if (record->client.width != w || record->client.height != h) {
    gfx::Surface resized(w, h, 0xFFF0F0F0);
    gfx::CopyRect(resized, 0, 0, record->client, 0, 0, record->client.width, record->client.height);
    record->client = std::move(resized);
  }
  return &record->client;
}

}  // namespace

HDC WINAPI GetDC(HWND hWnd) {
  if (!hWnd) return orv::desktop::ScreenDC();
  HWND top = TopLevelOf(hWnd);
  RECT topRect, rect;
  if (!top || !GetWindowRect(top, &topRect) || !GetWindowRect(hWnd, &rect)) return nullptr;
  std::lock_guard<std::recursive_mutex> lock(Lock());
  orv::desktop::detail::WindowRecord* record = Find(top);
  if (!record) return nullptr;
  // A child draws on its top-level window's pixels, inside its own rectangle.
  const POINT client = orv::ui::ClientOrigin(hWnd);
  const POINT offset = top == hWnd ? POINT{0, 0} : POINT{client.x - topRect.left, client.y - topRect.top};
  RECT clip{rect.left - topRect.left, rect.top - topRect.top, rect.right - topRect.left, rect.bottom - topRect.top};
  HDC dc = gfx::CreateWindowSurfaceDC([top] { return ClientPixels(top); }, offset, top == hWnd ? nullptr : &clip);
  // Whatever is drawn through the DC reaches the screen: the compositor draws
  // the window anew while a DC is out and once more after it comes back.
  if (dc) {
    ++record->clientDcs;
    ++record->clientVersion;
  }
  return dc;
}

int WINAPI ReleaseDC(HWND hWnd, HDC hDC) {
  if (!DeleteDC(hDC)) return 0;
  if (HWND top = TopLevelOf(hWnd)) {
    std::lock_guard<std::recursive_mutex> lock(Lock());
    orv::desktop::detail::WindowRecord* record = Find(top);
    if (record && record->clientDcs > 0) {
      --record->clientDcs;
      ++record->clientVersion;
    }
  }
  orv::desktop::NoteScreenChange();
  return 1;
}

HWND WINAPI FindWindowA(LPCSTR lpClassName, LPCSTR lpWindowName) {
  orv::desktop::TaskbarWindow();  // the screen has its taskbar whenever anyone looks
  std::lock_guard<std::recursive_mutex> lock(Lock());
  auto ordered = orv::desktop::detail::Ordered();
  for (auto it = ordered.rbegin(); it != ordered.rend(); ++it) {
    if (lpClassName && it->second->className != lpClassName) continue;
    if (lpWindowName) {
      char title[512];
      GetWindowTextA(it->first, title, sizeof title);
      if (std::strcmp(title, lpWindowName) != 0) continue;
    }
    return it->first;
  }
  return nullptr;
}

