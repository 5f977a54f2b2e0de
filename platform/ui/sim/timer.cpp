// Window and thread timers, kept on the owning thread's queue; WM_TIMER is made
// by the retrieval loop when a timer is due.
#include <windows.h>

#include <algorithm>

#include "platform/ui/sim/internal.h"

using namespace orv::ui::detail;

namespace {
// Thread timers get ids far from the small ids windows use for their own.
UINT_PTR g_nextThreadTimerId = 0x7FFF0000;
std::mutex g_threadTimerIdMutex;
}  // namespace

extern "C" {

UINT_PTR WINAPI SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc) {
  if (hwnd) {
    if (!OwnWindowRecord(hwnd)) return 0;
    if (id == 0) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return 0;
    }
  } else {
    std::lock_guard<std::mutex> lock(g_threadTimerIdMutex);
    id = g_nextThreadTimerId++;
  }
  elapse = std::clamp<UINT>(elapse, USER_TIMER_MINIMUM, USER_TIMER_MAXIMUM);
  auto queue = CurrentQueue();
  std::lock_guard<std::mutex> lock(queue->mutex);
  auto due = Clock::now() + std::chrono::milliseconds(elapse);
  auto it = std::find_if(queue->timers.begin(), queue->timers.end(),
                         [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
  if (it != queue->timers.end()) {
    *it = Timer{hwnd, id, elapse, proc, due};
  } else {
    queue->timers.push_back(Timer{hwnd, id, elapse, proc, due});
  }
  return id;
}

BOOL WINAPI KillTimer(HWND hwnd, UINT_PTR id) {
  auto queue = CurrentQueue();
  std::lock_guard<std::mutex> lock(queue->mutex);
  auto it = std::find_if(queue->timers.begin(), queue->timers.end(),
                         [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
  if (it == queue->timers.end()) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  queue->timers.erase(it);
  return TRUE;
}

}  // extern "C"
