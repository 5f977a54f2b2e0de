// desktop-holder <stop-file>: a program that shows one window of its own at
// (100, 100), 50 x 50, writes "shown" and runs until the stop file appears (or
// a minute has passed), then ends normally.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <thread>

#include "tests/desktop/desktop_support.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: desktop-holder <stop-file>\n");
    return 2;
  }
  if (!desktoptest::ShowPlainWindow(RECT{100, 100, 150, 150})) return 1;
  std::printf("shown\n");
  std::fflush(stdout);
  const auto giveUp = std::chrono::steady_clock::now() + std::chrono::minutes(1);
  while (::access(argv[1], F_OK) != 0) {
    if (std::chrono::steady_clock::now() > giveUp) return 3;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return 0;
}
