// Prints the time from a firmware event raised in the provider to its message
// being taken by a window's message loop (median and p99), and how often an idle
// message loop wakes up (the goal is never). The library's event sink traces each
// event on standard output, so the figures go to standard error.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include <windows.h>

#include "library/OrvWmiAcpi.h"
#include "platform/ui/sim/queue_stats.h"
#include "sim/launcher.h"
#include "tests/support/process.h"
#include "tests/support/test_window.h"

namespace {

using Clock = std::chrono::steady_clock;

LRESULT Proc(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProcA(h, m, w, l); }

double Percentile(std::vector<double> v, double p) {
  std::sort(v.begin(), v.end());
  return v[static_cast<std::size_t>(p * static_cast<double>(v.size() - 1))];
}

}  // namespace

int main(int argc, char** argv) {
  const int events = argc > 1 ? std::max(10, std::atoi(argv[1])) : 200;
  orv::test::TempHome home;
  std::string message;
  if (!orv::sim::StartProvider(&message)) {
    std::fprintf(stderr, "cannot start the provider: %s", message.c_str());
    return 1;
  }
  HWND window = orv::test::CreateTestWindow(Proc);
  COrvWmiAcpi wmi;
  wmi.AddHWND(window);
  char error[ORV_ERROR_BUFFER] = {};
  if (!wmi.OrvWMIEvent(u"Select * from Orv_Event", error, u"root\\wmi", u"WQL")) {
    std::fprintf(stderr, "subscription failed: %s\n", error);
    return 1;
  }

  // Each event is raised by the control channel from another thread, the way
  // the hardware raises it independently of the tray; the clock starts just
  // before the request leaves.
  std::vector<double> latencies;
  for (int i = 0; i < events; ++i) {
    Clock::time_point sent;
    std::thread raiser([&] {
      int code = 0;
      std::string text;
      sent = Clock::now();
      orv::sim::SendControl({"raw", "event", std::to_string(0x0100 | (i & 0xFF))}, &code, &text);
    });
    MSG msg{};
    while (GetMessageA(&msg, nullptr, 0, 0)) {
      if (msg.message == 0x4040) break;
      DispatchMessageA(&msg);
    }
    auto got = Clock::now();
    raiser.join();
    latencies.push_back(std::chrono::duration<double, std::micro>(got - sent).count());
  }
  // The raise is one control round trip; the same round trip without an event
  // is the floor the event path is compared with.
  std::vector<double> bare;
  for (int i = 0; i < events; ++i) {
    double us = 0;
    std::thread caller([&] {
      int code = 0;
      std::string text;
      auto start = Clock::now();
      orv::sim::SendControl({"set", "battery", std::to_string(i % 100)}, &code, &text);
      us = std::chrono::duration<double, std::micro>(Clock::now() - start).count();
    });
    caller.join();
    bare.push_back(us);
  }
  const double median = Percentile(latencies, 0.5);
  std::fprintf(stderr, "event raised in the provider -> WM_EC_EVENT taken by GetMessage (%d events)\n", events);
  std::fprintf(stderr, "  median %.1f us, p99 %.1f us\n", median, Percentile(latencies, 0.99));
  std::fprintf(stderr, "  bare control round trip: median %.1f us, p99 %.1f us; event path / round trip = %.2f\n",
               Percentile(bare, 0.5), Percentile(bare, 0.99), median / Percentile(bare, 0.5));

  // An idle loop: one timer far in the future, then count the waits that ended.
  SetTimer(window, 1, 3600 * 1000, nullptr);
  std::thread quit([&] {
    std::this_thread::sleep_for(std::chrono::seconds(3));
    PostMessageA(window, WM_USER + 1, 0, 0);
  });
  auto before = orv::ui::CurrentQueueStats();
  MSG msg{};
  while (GetMessageA(&msg, nullptr, 0, 0) && msg.message != WM_USER + 1) DispatchMessageA(&msg);
  auto after = orv::ui::CurrentQueueStats();
  quit.join();
  // The one wake-up that ends the measurement is not idle time.
  double wakeups = static_cast<double>(after.wakeups - before.wakeups) - 1;
  std::fprintf(stderr, "idle message loop: %.2f wake-ups per second over 3 s (goal: 0)\n", std::max(0.0, wakeups) / 3.0);
  KillTimer(window, 1);
  DestroyWindow(window);
  orv::sim::StopProvider(&message);
  return 0;
}
