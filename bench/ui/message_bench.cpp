// Prints two figures of the message core: how often an idle message loop wakes up
// per second (goal: never), and how long a message posted from another thread
// takes to reach the loop (median and 99th percentile), next to the time a bare
// condition-variable hand-off takes on the same machine in the same run.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <future>
#include <mutex>
#include <thread>
#include <vector>

#include <windows.h>

#include "platform/ui/sim/queue_stats.h"

using Clock = std::chrono::steady_clock;

namespace {

constexpr int kSamples = 5000;

double Percentile(std::vector<double> v, double p) {
  std::sort(v.begin(), v.end());
  return v[static_cast<std::size_t>(p * (v.size() - 1))];
}

double IdleWakeupsPerSecond(double seconds) {
  std::promise<DWORD> id;
  std::atomic<std::uint64_t> wakeups{0};
  std::thread loop([&] {
    auto before = orv::ui::CurrentQueueStats();
    id.set_value(GetCurrentThreadId());
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0)) DispatchMessageA(&msg);
    wakeups = orv::ui::CurrentQueueStats().wakeups - before.wakeups - 1;  // less the quit's own
  });
  DWORD thread = id.get_future().get();
  std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
  PostThreadMessageA(thread, WM_QUIT, 0, 0);
  loop.join();
  return static_cast<double>(wakeups) / seconds;
}

std::vector<double> PostLatencies() {
  std::promise<DWORD> id;
  std::atomic<long long> received{0};
  std::atomic<int> count{0};
  std::thread loop([&] {
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
    id.set_value(GetCurrentThreadId());
    while (GetMessageA(&msg, nullptr, 0, 0)) {
      received = Clock::now().time_since_epoch().count();
      ++count;
    }
  });
  DWORD thread = id.get_future().get();
  std::vector<double> micros;
  for (int i = 0; i < kSamples; ++i) {
    auto sent = Clock::now();
    PostThreadMessageA(thread, WM_USER, 0, 0);
    while (count <= i) std::this_thread::yield();
    micros.push_back(std::chrono::duration<double, std::micro>(Clock::duration(received.load()) -
                                                               sent.time_since_epoch()).count());
  }
  PostThreadMessageA(thread, WM_QUIT, 0, 0);
  loop.join();
  return micros;
}

std::vector<double> BareHandOffLatencies() {
  std::mutex m;
  std::condition_variable cv;
  int posted = 0;
  std::atomic<int> count{0};
  std::atomic<long long> received{0};
  std::thread loop([&] {
    std::unique_lock<std::mutex> lock(m);
    for (int i = 0; i < kSamples; ++i) {
      cv.wait(lock, [&] { return posted > i; });
      received = Clock::now().time_since_epoch().count();
      ++count;
    }
  });
  std::vector<double> micros;
  for (int i = 0; i < kSamples; ++i) {
    auto sent = Clock::now();
    {
      std::lock_guard<std::mutex> lock(m);
      ++posted;
    }
    cv.notify_one();
    while (count <= i) std::this_thread::yield();
    micros.push_back(std::chrono::duration<double, std::micro>(Clock::duration(received.load()) -
                                                               sent.time_since_epoch()).count());
  }
  loop.join();
  return micros;
}

}  // namespace

int main() {
  std::printf("idle message loop: %.2f wake-ups per second over 2 s (goal: 0)\n", IdleWakeupsPerSecond(2.0));
  auto post = PostLatencies();
  auto bare = BareHandOffLatencies();
  double postMedian = Percentile(post, 0.5), bareMedian = Percentile(bare, 0.5);
  std::printf("PostThreadMessage to GetMessage: median %.1f us, p99 %.1f us (%d samples)\n", postMedian,
              Percentile(post, 0.99), kSamples);
  std::printf("bare condition-variable hand-off: median %.1f us, p99 %.1f us\n", bareMedian, Percentile(bare, 0.99));
  std::printf("ratio of medians (message core / bare hand-off): %.2f\n", postMedian / std::max(bareMedian, 0.001));
  return 0;
}
