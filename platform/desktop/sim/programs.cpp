// The windows of programs started from program files: one thread and one
// captioned window per program, drawn by the system, watching the program's
// process and going when it ends.
#include "platform/desktop/sim/programs.h"

#include <windows.h>

#include <signal.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <thread>

#include "platform/base/sim/unique_fd.h"
#include "platform/desktop/sim/frame_server.h"
#include "platform/desktop/sim/screen.h"
#include "platform/ui/sim/class_window.h"

namespace orv::desktop {
namespace {

constexpr UINT_PTR kWatchTimer = 1;
constexpr UINT kWatchMs = 200;
constexpr std::size_t kMaxTitle = 200;
constexpr int kWidth = 420, kHeight = 240;

// A descriptor that becomes readable when the process ends; -1 when it does not live.
int WatchProcess(pid_t pid) { return static_cast<int>(::syscall(SYS_pidfd_open, pid, 0)); }

bool Ended(int pidfd) {
  // A pidfd polls readable once its process has ended.
  fd_set set;
  FD_ZERO(&set);
  FD_SET(pidfd, &set);
  timeval now{0, 0};
  return ::select(pidfd + 1, &set, nullptr, nullptr, &now) > 0;
}

struct Program {
  pid_t pid;
  orv::sim::unique_fd pidfd;
};

LRESULT CALLBACK ProgramProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* program = reinterpret_cast<Program*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  switch (message) {
    case WM_TIMER:
      if (wParam == kWatchTimer && program && Ended(program->pidfd.get())) DestroyWindow(hwnd);
      return 0;
    case WM_CLOSE:
      // The program decides; its window goes when its process does.
      if (program) ::kill(program->pid, SIGTERM);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(hwnd, message, wParam, lParam);
  }
}

// Each program's window a little below and right of the one before.
RECT NextPlace() {
  static int placed = 0;
  Config c = CurrentConfig();
  RECT work = WorkArea(c);
  const int step = 24 * (placed++ % 8);
  const int x = work.left + (work.right - work.left - kWidth) / 2 - 84 + step;
  const int y = work.top + (work.bottom - work.top - kHeight) / 2 - 84 + step;
  return RECT{x, y, x + kWidth, y + kHeight};
}

void Run(Program program, std::string title) {
  HWND hwnd = ui::CreateClassWindow(kProgramClass, ProgramProc, WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, NextPlace(),
                                    title.c_str());
  if (!hwnd) return;
  SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&program));
  const std::string text = title + " is running (process " + std::to_string(program.pid) + ").";
  CreateWindowExA(0, "STATIC", text.c_str(), WS_CHILD | WS_VISIBLE | SS_CENTER, 16, 80, kWidth - 32, 40, hwnd,
                  nullptr, nullptr, nullptr);
  SetTimer(hwnd, kWatchTimer, kWatchMs, nullptr);
  ShowWindow(hwnd, SW_SHOW);
  SetForegroundWindow(hwnd);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
}

bool OneLine(const std::string& s) {
  for (unsigned char ch : s)
    if (ch < 0x20 || ch == 0x7F) return false;
  return true;
}

}  // namespace

bool ProgramReply(const std::string& request, std::string* reply) {
  if (request.rfind("PROGRAM ", 0) != 0) return false;
  const std::size_t blank = request.find(' ', 8);
  char* end = nullptr;
  errno = 0;
  const long pid = std::strtol(request.c_str() + 8, &end, 10);
  if (blank == std::string::npos || end != request.c_str() + blank || errno || pid <= 1) {
    *reply = "ERR PROGRAM takes a process id and a title\n";
    return true;
  }
  const std::string title = request.substr(blank + 1);
  if (title.empty() || title.size() > kMaxTitle || !OneLine(title)) {
    *reply = "ERR the title must be one line of 1 to 200 characters\n";
    return true;
  }
  orv::sim::unique_fd pidfd(WatchProcess(static_cast<pid_t>(pid)));
  if (!pidfd) {
    *reply = "ERR no such process\n";
    return true;
  }
  std::thread(Run, Program{static_cast<pid_t>(pid), std::move(pidfd)}, title).detach();
  *reply = "OK\n";
  return true;
}

gfx::Status RequestProgramWindow(pid_t pid, const std::string& title, int timeoutMs) {
  std::string reply;
  gfx::Status s = RequestText("PROGRAM " + std::to_string(pid) + " " + title, &reply, timeoutMs);
  if (s != gfx::Ok) return s;
  return reply == "OK\n" || reply == "OK" ? gfx::Ok : gfx::InvalidParameter;
}

}  // namespace orv::desktop
