// Console control events from this machine's signals: the signal handler only
// writes the signal number into a pipe; a thread of the backend reads it and
// calls the handlers, as Windows calls them on a thread it makes for the event.
#include <windows.h>

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <mutex>
#include <thread>
#include <vector>

namespace {

constexpr int kSignals[] = {SIGINT, SIGQUIT, SIGTERM, SIGHUP};

struct Console {
  std::mutex mutex;
  std::vector<PHANDLER_ROUTINE> handlers;  // most recent last
  bool ignoreCtrlC = false;
  int pipe[2] = {-1, -1};
};

Console* g_console = nullptr;  // made by the first registration; used until the process ends
std::mutex g_installMutex;

void OnSignal(int sig) {
  unsigned char n = static_cast<unsigned char>(sig);
  [[maybe_unused]] ssize_t w = write(g_console->pipe[1], &n, 1);
}

DWORD EventOf(int sig) {
  if (sig == SIGINT) return CTRL_C_EVENT;
  if (sig == SIGQUIT) return CTRL_BREAK_EVENT;
  return CTRL_CLOSE_EVENT;
}

// The default handler: the process ends as the signal itself would end it.
[[noreturn]] void EndProcess(int sig) {
  signal(sig, SIG_DFL);
  raise(sig);
  _exit(128 + sig);
}

void HandlerThread(Console* console) {
  for (;;) {
    unsigned char sig = 0;
    ssize_t n = read(console->pipe[0], &sig, 1);
    if (n < 0) continue;
    if (n == 0) return;
    const DWORD event = EventOf(sig);
    std::vector<PHANDLER_ROUTINE> handlers;
    {
      std::lock_guard<std::mutex> lock(console->mutex);
      if (event == CTRL_C_EVENT && console->ignoreCtrlC) continue;
      handlers = console->handlers;
    }
    bool handled = false;
    for (auto it = handlers.rbegin(); it != handlers.rend() && !handled; ++it) handled = (*it)(event) != FALSE;
    if (!handled || event == CTRL_CLOSE_EVENT) EndProcess(sig);
  }
}

// The console's thread and signal handlers, made once.
Console* Install() {
  std::lock_guard<std::mutex> lock(g_installMutex);
  if (g_console) return g_console;
  auto* console = new Console;
  if (pipe2(console->pipe, O_CLOEXEC) != 0) {
    delete console;
    return nullptr;
  }
  g_console = console;
  std::thread(HandlerThread, console).detach();
  struct sigaction sa {};
  sa.sa_handler = OnSignal;
  sigemptyset(&sa.sa_mask);
  sa.sa_flags = SA_RESTART;
  for (int sig : kSignals) sigaction(sig, &sa, nullptr);
  return console;
}

}  // namespace

extern "C" BOOL WINAPI SetConsoleCtrlHandler(PHANDLER_ROUTINE HandlerRoutine, BOOL Add) {
  Console* console = Install();
  if (!console) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return FALSE;
  }
  std::lock_guard<std::mutex> lock(console->mutex);
  if (!HandlerRoutine) {
    console->ignoreCtrlC = Add != FALSE;
    return TRUE;
  }
  auto& list = console->handlers;
  if (Add) {
    list.push_back(HandlerRoutine);
    return TRUE;
  }
  auto it = std::find(list.rbegin(), list.rend(), HandlerRoutine);
  if (it == list.rend()) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  list.erase(std::next(it).base());
  return TRUE;
}
