// Ending a program as the task list does: SIGTERM or SIGINT to a process that
// has application windows (top-level, WS_EX_APPWINDOW) posts WM_CLOSE to each of
// them, so the program goes through its own closing. A process without them
// takes the signal's default action. The signal handler only writes the signal
// into a pipe; a thread of its own does the rest.
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <mutex>
#include <thread>

#include "platform/ui/sim/internal.h"

namespace orv::ui::detail {
namespace {

int g_pipe[2] = {-1, -1};

void OnSignal(int sig) {
  unsigned char n = static_cast<unsigned char>(sig);
  [[maybe_unused]] ssize_t w = write(g_pipe[1], &n, 1);
}

void CloseApplications() {
  for (;;) {
    unsigned char sig = 0;
    ssize_t n = read(g_pipe[0], &sig, 1);
    if (n < 0) continue;
    if (n == 0) return;
    auto windows = SelectWindows([](const Window& w) { return !(w.style & WS_CHILD) && (w.exStyle & WS_EX_APPWINDOW); });
    if (windows.empty()) {
      signal(sig, SIG_DFL);
      raise(sig);
    }
    for (HWND hwnd : windows) PostMessageA(hwnd, WM_CLOSE, 0, 0);
  }
}

}  // namespace

void WatchSessionEnd() {
  static std::once_flag once;
  std::call_once(once, [] {
    if (pipe2(g_pipe, O_CLOEXEC) != 0) return;
    std::thread(CloseApplications).detach();
    struct sigaction sa {};
    sa.sa_handler = OnSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (int sig : {SIGINT, SIGTERM}) sigaction(sig, &sa, nullptr);
  });
}

}  // namespace orv::ui::detail
