// What the system does to a program from outside, by signal. Ending it as the
// task list does: SIGTERM or SIGINT to a process that has application windows
// (top-level, WS_EX_APPWINDOW) posts WM_CLOSE to each of them, so the program
// goes through its own closing; a process without them takes the signal's
// default action. The machine's sleep: SIGUSR1 sends every top-level window of
// the process WM_POWERBROADCAST with PBT_APMSUSPEND, and SIGUSR2 with
// PBT_APMRESUMEAUTOMATIC, as the system does around a sleep (the simulation's
// stand-ins for other programs' windows excepted). The signal handler
// only writes the signal into a pipe; a thread of its own does the rest.
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <mutex>
#include <thread>

#include "platform/ui/sim/class_window.h"
#include "platform/ui/sim/internal.h"

namespace orv::ui::detail {
namespace {

int g_pipe[2] = {-1, -1};

void OnSignal(int sig) {
  unsigned char n = static_cast<unsigned char>(sig);
  [[maybe_unused]] ssize_t w = write(g_pipe[1], &n, 1);
}

void Broadcast(WPARAM event) {
  // Sent, as the system's broadcast is: each window has handled it before the next.
  // The simulation's stand-ins for other programs' windows are not the program's.
  const std::string system = FoldCase(kSystemWindowProp);
  for (HWND hwnd : SelectWindows([&](const Window& w) { return !(w.style & WS_CHILD) && !w.props.count(system); }))
    SendMessageA(hwnd, WM_POWERBROADCAST, event, 0);
}

void CloseApplications(int sig) {
  auto windows = SelectWindows([](const Window& w) { return !(w.style & WS_CHILD) && (w.exStyle & WS_EX_APPWINDOW); });
  if (windows.empty()) {
    signal(sig, SIG_DFL);
    raise(sig);
  }
  for (HWND hwnd : windows) PostMessageA(hwnd, WM_CLOSE, 0, 0);
}

void Watch() {
  for (;;) {
    unsigned char sig = 0;
    ssize_t n = read(g_pipe[0], &sig, 1);
    if (n < 0) continue;
    if (n == 0) return;
    if (sig == SIGUSR1) Broadcast(PBT_APMSUSPEND);
    else if (sig == SIGUSR2) Broadcast(PBT_APMRESUMEAUTOMATIC);
    else CloseApplications(sig);
  }
}

}  // namespace

void WatchSessionEnd() {
  static std::once_flag once;
  std::call_once(once, [] {
    if (pipe2(g_pipe, O_CLOEXEC) != 0) return;
    std::thread(Watch).detach();
    struct sigaction sa {};
    sa.sa_handler = OnSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (int sig : {SIGINT, SIGTERM, SIGUSR1, SIGUSR2}) sigaction(sig, &sa, nullptr);
  });
}

}  // namespace orv::ui::detail
