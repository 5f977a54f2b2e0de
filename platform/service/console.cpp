// Signals become console events: the signal handler only writes the signal
// number into a pipe; the handler thread reads it and calls the handlers.
#include "platform/service/console.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <mutex>
#include <thread>
#include <vector>

namespace orv::svc {
namespace {

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};

std::mutex g_mutex;
std::vector<PHANDLER_ROUTINE>* g_handlers = nullptr;  // most recent last; never freed (used until exit)
int g_pipe[2] = {-1, -1};

void OnSignal(int sig) {
  unsigned char n = static_cast<unsigned char>(sig);
  [[maybe_unused]] ssize_t w = write(g_pipe[1], &n, 1);
}

DWORD EventOf(int sig) { return sig == SIGINT ? CTRL_C_EVENT : sig == SIGTERM ? CTRL_BREAK_EVENT : CTRL_CLOSE_EVENT; }

void HandlerThread() {
  for (;;) {
    unsigned char sig = 0;
    ssize_t n = read(g_pipe[0], &sig, 1);
    if (n < 0) continue;
    if (n == 0) return;
    std::vector<PHANDLER_ROUTINE> handlers;
    {
      std::lock_guard<std::mutex> lock(g_mutex);
      handlers = *g_handlers;
    }
    bool handled = false;
    for (auto it = handlers.rbegin(); it != handlers.rend() && !handled; ++it) handled = (*it)(EventOf(sig)) != FALSE;
    if (!handled) {
      signal(sig, SIG_DFL);
      raise(sig);
    }
  }
}

bool Install() {
  if (g_handlers) return true;
  if (pipe2(g_pipe, O_CLOEXEC) != 0) return false;
  g_handlers = new std::vector<PHANDLER_ROUTINE>();
  std::thread(HandlerThread).detach();
  struct sigaction sa {};
  sa.sa_handler = OnSignal;
  sigemptyset(&sa.sa_mask);
  sa.sa_flags = SA_RESTART;
  for (int sig : kSignals) sigaction(sig, &sa, nullptr);
  return true;
}

}  // namespace

BOOL SetConsoleCtrlHandler(PHANDLER_ROUTINE handler, BOOL add) {
  std::lock_guard<std::mutex> lock(g_mutex);
  if (!handler) {
    SetLastError(ERROR_NOT_SUPPORTED);
    return FALSE;
  }
  if (!Install()) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return FALSE;
  }
  if (add) {
    g_handlers->push_back(handler);
    return TRUE;
  }
  auto it = std::find(g_handlers->rbegin(), g_handlers->rend(), handler);
  if (it == g_handlers->rend()) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  g_handlers->erase(std::next(it).base());
  return TRUE;
}

}  // namespace orv::svc
