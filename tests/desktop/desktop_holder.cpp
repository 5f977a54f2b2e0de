// desktop-holder: a program that shows one window of its own at (100, 100),
// 50 x 50, writes "shown" and runs until it is sent SIGTERM, then ends normally
// (so that what it served is taken down as at any program's end).
#include <signal.h>

#include <cstdio>

#include "tests/desktop/desktop_support.h"

int main() {
  // Blocked before any thread exists, so the signal waits for sigwait alone.
  sigset_t term;
  sigemptyset(&term);
  sigaddset(&term, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &term, nullptr);
  if (!desktoptest::ShowPlainWindow(RECT{100, 100, 150, 150})) return 1;
  std::printf("shown\n");
  std::fflush(stdout);
  int sig = 0;
  return sigwait(&term, &sig) == 0 ? 0 : 1;
}
