// The taskbar window and the notification area's icon list and layout.
#include "platform/desktop/sim/taskbar.h"

#include <unistd.h>

#include <algorithm>
#include <mutex>
#include <sstream>

#include "platform/desktop/sim/watch.h"
#include "platform/fs/sim/atomic.h"
#include "platform/home/sim/home.h"
#include "platform/ui/sim/class_window.h"

namespace orv::desktop {
namespace {

std::mutex& IconLock() {
  static std::mutex m;
  return m;
}
std::vector<NotifyIcon>& Icons() {
  static std::vector<NotifyIcon> icons;
  return icons;
}

std::mutex& BarLock() {
  static std::mutex m;
  return m;
}
HWND& Bar() {
  static HWND bar = nullptr;
  return bar;
}

LRESULT TaskbarProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

// The place of icon number index (0 = nearest the screen's corner).
RECT IconPlace(const Config& c, std::size_t index) {
  RECT bar = TaskbarRect(c);
  int step = 22, offset = 12 + static_cast<int>(index) * step;
  if (c.taskbarEdge == Edge::Left || c.taskbarEdge == Edge::Right) {
    int x = (bar.left + bar.right) / 2 - 8, y = bar.bottom - offset - 16;
    return {x, y, x + 16, y + 16};
  }
  int x = bar.right - offset - 16, y = (bar.top + bar.bottom) / 2 - 8;
  return {x, y, x + 16, y + 16};
}

// Rewrites this process's lines of the shell's record (caller holds IconLock()).
void Publish() {
  const std::string path = orv::home::Path(kNotifyAreaFile);
  const std::string me = std::to_string(::getpid());
  orv::fs::FileLock lock(path);
  std::string before, error;
  orv::fs::ReadWholeFile(path, &before, &error);
  std::istringstream in(before);
  std::ostringstream out;
  std::string line;
  while (std::getline(in, line))
    if (line.substr(0, line.find(' ')) != me) out << line << '\n';
  for (const NotifyIcon& icon : Icons()) out << me << ' ' << icon.id << ' ' << icon.tip << '\n';
  orv::fs::WriteFileAtomic(path, out.str(), &error);
  NoteScreenChange();
}

}  // namespace

HWND TaskbarWindow() {
  Config c = CurrentConfig();
  std::lock_guard<std::mutex> lock(BarLock());
  if (c.taskbarEdge == Edge::None) return nullptr;
  if (Bar() && IsWindow(Bar())) return Bar();
  Bar() = ui::CreateClassWindow(kTaskbarClass, TaskbarProc, WS_POPUP | WS_VISIBLE, WS_EX_TOPMOST | WS_EX_TOOLWINDOW,
                                TaskbarRect(c), "");
  if (Bar()) ShowWindow(Bar(), SW_SHOWNA);
  return Bar();
}

void PlaceTaskbar(const Config& config) {
  HWND bar;
  {
    std::lock_guard<std::mutex> lock(BarLock());
    bar = Bar() && IsWindow(Bar()) ? Bar() : nullptr;
  }
  if (config.taskbarEdge == Edge::None) {
    if (bar) ShowWindow(bar, SW_HIDE);
    if (bar && DestroyWindow(bar)) {
      std::lock_guard<std::mutex> lock(BarLock());
      Bar() = nullptr;
    }
    return;
  }
  if (!bar) {
    TaskbarWindow();
    return;
  }
  RECT r = TaskbarRect(config);
  MoveWindow(bar, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
  ShowWindow(bar, SW_SHOWNA);
}

void SetNotifyIcon(HWND owner, unsigned id, const gfx::Surface& icon, const std::string& tip, const UINT* callback) {
  std::lock_guard<std::mutex> lock(IconLock());
  for (NotifyIcon& existing : Icons())
    if (existing.owner == owner && existing.id == id) {
      existing.icon = icon;
      existing.tip = tip;
      if (callback) existing.callback = *callback;
      Publish();
      return;
    }
  Icons().push_back({owner, id, icon, tip, callback ? *callback : 0});
  Publish();
}

bool RemoveNotifyIcon(HWND owner, unsigned id) {
  std::lock_guard<std::mutex> lock(IconLock());
  auto& icons = Icons();
  auto it = std::find_if(icons.begin(), icons.end(),
                         [&](const NotifyIcon& i) { return i.owner == owner && i.id == id; });
  if (it == icons.end()) return false;
  icons.erase(it);
  Publish();
  return true;
}

std::vector<NotifyIcon> NotifyIcons() {
  std::lock_guard<std::mutex> lock(IconLock());
  return Icons();
}

void RestartTaskbar() {
  // The bar's window stays (its thread may be another's); what the restart
  // loses is the icons.
  {
    std::lock_guard<std::mutex> lock(IconLock());
    Icons().clear();
    Publish();
  }
  TaskbarWindow();
  const UINT created = RegisterWindowMessageA("TaskbarCreated");
  EnumWindows([](HWND hwnd, LPARAM message) {
    PostMessageA(hwnd, static_cast<UINT>(message), 0, 0);
    return TRUE;
  }, static_cast<LPARAM>(created));
}

bool NotifyIconRect(HWND owner, unsigned id, RECT* rect) {
  Config c = CurrentConfig();
  if (c.taskbarEdge == Edge::None || !rect) return false;
  std::lock_guard<std::mutex> lock(IconLock());
  for (std::size_t i = 0; i < Icons().size(); ++i)
    if (Icons()[i].owner == owner && Icons()[i].id == id) {
      *rect = IconPlace(c, i);
      return true;
    }
  return false;
}

}  // namespace orv::desktop
