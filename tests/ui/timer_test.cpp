// Window timers: firing, re-arming, restarting, killing, and an idle loop that
// does not wake up.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>
#include <vector>

#include <windows.h>

#include "platform/ui/sim/queue_stats.h"
#include "tests/support/test_window.h"

using Clock = std::chrono::steady_clock;

namespace {

struct Ticks {
  int timer7 = 0, timer8 = 0;
  std::vector<Clock::time_point> fired7, fired8;
};

LRESULT CALLBACK TicksProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* t = reinterpret_cast<Ticks*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (t && message == WM_TIMER && wParam == 7) {
    ++t->timer7;
    t->fired7.push_back(Clock::now());
  }
  if (t && message == WM_TIMER && wParam == 8) {
    ++t->timer8;
    t->fired8.push_back(Clock::now());
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

// Runs the thread's message loop until cond holds (checked after each message),
// with a generous bound; false when the bound came first.
bool PumpUntil(const std::function<bool()>& cond, std::chrono::milliseconds bound = std::chrono::seconds(30)) {
  const auto deadline = Clock::now() + bound;
  MSG msg;
  while (!cond()) {
    if (Clock::now() >= deadline) return false;
    if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    else std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

// A timer never fires early: every expiry comes a whole period after the last
// (re)start. The clock is read a little after each event, so 1 ms is allowed.
testing::AssertionResult NeverEarly(Clock::time_point start, const std::vector<Clock::time_point>& fired,
                                    std::chrono::milliseconds period) {
  Clock::time_point last = start;
  for (auto at : fired) {
    if (at - last < period - std::chrono::milliseconds(1))
      return testing::AssertionFailure() << "fired after " << std::chrono::duration_cast<std::chrono::milliseconds>(at - last).count() << " ms";
    last = at;
  }
  return testing::AssertionSuccess();
}

// Runs the thread's message loop until the deadline (a thread timer ends it).
int PumpFor(std::chrono::milliseconds span) {
  static std::atomic<bool> stop{false};
  stop = false;
  UINT_PTR end = SetTimer(nullptr, 0, static_cast<UINT>(span.count()),
                          [](HWND, UINT, UINT_PTR, DWORD) { stop = true; });
  int iterations = 0;
  MSG msg;
  while (!stop && GetMessageA(&msg, nullptr, 0, 0)) {
    ++iterations;
    DispatchMessageA(&msg);
  }
  KillTimer(nullptr, end);
  return iterations;
}

HWND MakeWindow(Ticks* t) {
  HWND hwnd = orv::test::CreateTestWindow(TicksProc);
  SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(t));
  return hwnd;
}

}  // namespace

TEST(Timers, FireRepeatedlyRestartOnSetAndStopOnKill) {
  Ticks t;
  HWND w = MakeWindow(&t);
  const auto started = Clock::now();
  EXPECT_EQ(SetTimer(w, 7, 40, nullptr), 7u);
  ASSERT_TRUE(PumpUntil([&] { return t.timer7 >= 4; }));  // re-armed after each expiry
  EXPECT_TRUE(NeverEarly(started, t.fired7, std::chrono::milliseconds(40)));

  // Setting a running timer again restarts its period: repeated within the
  // period it never fires (an OSD stays up until 2 s after the last request).
  // However long the loop is kept from running, an expiry comes a whole period
  // after the last setting.
  std::vector<Clock::time_point> sets;
  for (int i = 0; i < 6; ++i) {
    sets.push_back(Clock::now());
    SetTimer(w, 8, 60, nullptr);
    PumpFor(std::chrono::milliseconds(25));
  }
  ASSERT_TRUE(PumpUntil([&] { return t.timer8 >= 1; }));
  for (auto fired : t.fired8) {
    Clock::time_point lastSet = sets.front();
    for (auto set : sets)
      if (set < fired) lastSet = set;
    EXPECT_GE(fired - lastSet, std::chrono::milliseconds(59)) << "fired within a period of a new setting";
  }

  int before = t.timer7;
  EXPECT_TRUE(KillTimer(w, 7));
  EXPECT_TRUE(KillTimer(w, 8));
  EXPECT_FALSE(KillTimer(w, 7));
  PumpFor(std::chrono::milliseconds(100));
  EXPECT_EQ(t.timer7, before);
  EXPECT_EQ(SetTimer(w, 0, 10, nullptr), 0u);  // id 0 could not be told from failure
  std::thread([&] { EXPECT_EQ(SetTimer(w, 9, 10, nullptr), 0u); }).join();  // not the owner
  DestroyWindow(w);
}

TEST(Timers, MissedPeriodsDoNotPileUp) {
  Ticks t;
  HWND w = MakeWindow(&t);
  SetTimer(w, 7, 10, nullptr);
  std::this_thread::sleep_for(std::chrono::milliseconds(120));  // busy elsewhere: 12 periods missed
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  // One message for all that was missed; any further one only a whole period after it.
  ASSERT_GE(t.timer7, 1);
  EXPECT_TRUE(NeverEarly(t.fired7.front(), std::vector<Clock::time_point>(t.fired7.begin() + 1, t.fired7.end()),
                         std::chrono::milliseconds(10)));
  DestroyWindow(w);
}

TEST(Timers, AnIdleLoopDoesNotWakeUp) {
  Ticks t;
  HWND w = MakeWindow(&t);
  SetTimer(w, 7, 100, nullptr);
  auto before = orv::ui::CurrentQueueStats();
  int iterations = PumpFor(std::chrono::milliseconds(550));
  auto after = orv::ui::CurrentQueueStats();
  // The timer's messages and the end timer's: one wake-up and one loop turn each,
  // no polling in between (a spurious wake-up or two are allowed). How many
  // periods fit depends on how busy the machine is, never on the loop.
  EXPECT_EQ(iterations, t.timer7 + 1);
  EXPECT_GE(t.timer7, 1);
  EXPECT_LE(after.wakeups - before.wakeups, static_cast<std::uint64_t>(iterations + 2));
  KillTimer(w, 7);

  // Without timers the waiting thread sleeps until a message is posted to it.
  std::atomic<std::uint64_t> wakeups{99};
  std::atomic<DWORD> idleThread{0};
  std::atomic<bool> got{false};
  std::thread idle([&] {
    auto start = orv::ui::CurrentQueueStats();  // makes the queue
    idleThread = GetCurrentThreadId();
    MSG msg;
    GetMessageA(&msg, nullptr, 0, 0);
    wakeups = orv::ui::CurrentQueueStats().wakeups - start.wakeups;
    got = msg.message == WM_USER;
  });
  while (!idleThread) std::this_thread::yield();
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  ASSERT_TRUE(PostThreadMessageA(idleThread, WM_USER, 0, 0));
  idle.join();
  EXPECT_TRUE(got);
  EXPECT_LE(wakeups.load(), 1u);
  DestroyWindow(w);
}
