// Posting, sending and retrieving messages on the per-thread queues.
#include <windows.h>

#include <algorithm>

#include "platform/ui/sim/internal.h"
#include "platform/ui/sim/queue_stats.h"

namespace orv::ui::detail {
namespace {

HWND const kThreadOnly = reinterpret_cast<HWND>(static_cast<std::intptr_t>(-1));

bool InRange(UINT message, UINT filterMin, UINT filterMax) {
  return (filterMin == 0 && filterMax == 0) || (message >= filterMin && message <= filterMax);
}

bool ForWindow(HWND target, HWND filter) {
  if (filter == nullptr) return true;
  if (filter == kThreadOnly) return target == nullptr;
  return target == filter;
}

bool Post(ThreadQueue& queue, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  std::lock_guard<std::mutex> lock(queue.mutex);
  if (!queue.alive) return false;
  queue.posted.push_back(MSG{hwnd, message, wParam, lParam, GetTickCount(), POINT{0, 0}});
  queue.wake.notify_all();
  return true;
}

LRESULT Perform(const SentMessage& sent) {
  return sent.call ? sent.call() : CallWindow(sent.hwnd, sent.message, sent.wParam, sent.lParam);
}

// Handles one call another thread handed here; the lock is released meanwhile.
void HandleSent(std::unique_lock<std::mutex>& lock, ThreadQueue& queue) {
  auto sent = queue.sent.front();
  queue.sent.pop_front();
  lock.unlock();
  CompleteSent(sent, Perform(*sent));
  lock.lock();
}

// The timer that is due first among those the filter lets through, or null.
Timer* DueTimer(ThreadQueue& queue, HWND filter, UINT filterMin, UINT filterMax, Clock::time_point now,
                Clock::time_point* nextDue) {
  Timer* due = nullptr;
  if (!InRange(WM_TIMER, filterMin, filterMax)) return nullptr;
  for (Timer& t : queue.timers) {
    if (!ForWindow(t.hwnd, filter)) continue;
    if (t.due <= now && (!due || t.due < due->due)) due = &t;
    if (nextDue && t.due < *nextDue) *nextDue = t.due;
  }
  return due;
}

enum class Take { Peek, Remove };

// The one retrieval loop behind GetMessage and PeekMessage: sent messages are
// handled first, then a posted message, WM_QUIT, WM_PAINT, a due timer. Waits only when
// asked to, and then only until the next timer of the filter is due.
bool Retrieve(MSG* msg, HWND filter, UINT filterMin, UINT filterMax, Take take, bool wait) {
  auto queue = CurrentQueue();
  std::unique_lock<std::mutex> lock(queue->mutex);
  for (;;) {
    if (!queue->sent.empty()) {
      HandleSent(lock, *queue);
      continue;
    }
    auto posted = std::find_if(queue->posted.begin(), queue->posted.end(), [&](const MSG& m) {
      return ForWindow(m.hwnd, filter) && InRange(m.message, filterMin, filterMax);
    });
    if (posted != queue->posted.end()) {
      *msg = *posted;
      if (take == Take::Remove) queue->posted.erase(posted);
      return true;
    }
    if (queue->quit && (filter == nullptr || filter == kThreadOnly)) {
      *msg = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(queue->quitCode), 0, GetTickCount(), POINT{0, 0}};
      if (take == Take::Remove) queue->quit = false;
      return true;
    }
    if (InRange(WM_PAINT, filterMin, filterMax)) {
      auto paint = std::find_if(queue->paint.begin(), queue->paint.end(),
                                [&](const PendingPaint& p) { return ForWindow(p.hwnd, filter); });
      if (paint != queue->paint.end()) {
        // A parent waiting too is painted first: its children draw over it.
        for (auto up = paint; up != queue->paint.end();) {
          paint = up;
          up = std::find_if(queue->paint.begin(), queue->paint.end(), [&](const PendingPaint& p) {
            return paint->parent && p.hwnd == paint->parent && ForWindow(p.hwnd, filter);
          });
        }
        // WM_PAINT stays until BeginPaint validates the window, as on Windows.
        const HWND hwnd = paint->hwnd;
        lock.unlock();
        const bool now = Paintable(hwnd);
        lock.lock();
        if (!now) continue;
        *msg = MSG{hwnd, WM_PAINT, 0, 0, GetTickCount(), POINT{0, 0}};
        return true;
      }
    }
    auto now = Clock::now();
    auto nextDue = Clock::time_point::max();
    if (Timer* t = DueTimer(*queue, filter, filterMin, filterMax, now, &nextDue)) {
      *msg = MSG{t->hwnd, WM_TIMER, t->id, reinterpret_cast<LPARAM>(t->proc), GetTickCount(), POINT{0, 0}};
      if (take == Take::Remove) t->due = now + std::chrono::milliseconds(t->elapse);
      return true;
    }
    if (!wait) return false;
    ++queue->waits;
    if (nextDue == Clock::time_point::max()) {
      queue->wake.wait(lock);
    } else {
      queue->wake.wait_until(lock, nextDue);
    }
    ++queue->wakeups;
  }
}

}  // namespace

LRESULT RunOnThread(const std::shared_ptr<ThreadQueue>& target, const std::shared_ptr<SentMessage>& sent) {
  auto me = CurrentQueue();
  if (target == me) return Perform(*sent);
  sent->sender = me;
  {
    std::lock_guard<std::mutex> lock(target->mutex);
    if (!target->alive) return 0;
    target->sent.push_back(sent);
    target->wake.notify_all();
  }
  std::unique_lock<std::mutex> lock(me->mutex);
  while (!sent->done) {
    if (!me->sent.empty()) {
      HandleSent(lock, *me);  // a call handed to us while we wait: answer it now
      continue;
    }
    me->wake.wait(lock);
  }
  return sent->result;
}

}  // namespace orv::ui::detail

namespace orv::ui {

QueueStats CurrentQueueStats() {
  auto queue = detail::CurrentQueue();
  std::lock_guard<std::mutex> lock(queue->mutex);
  return QueueStats{queue->waits, queue->wakeups};
}

}  // namespace orv::ui

using namespace orv::ui::detail;

extern "C" {

BOOL WINAPI PostMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (hwnd == nullptr) return Post(*CurrentQueue(), nullptr, message, wParam, lParam) ? TRUE : FALSE;
  auto window = FindWindowRecord(hwnd);
  if (!window || !Post(*window->queue, hwnd, message, wParam, lParam)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  return TRUE;
}

BOOL WINAPI PostThreadMessageA(DWORD thread, UINT message, WPARAM wParam, LPARAM lParam) {
  auto queue = thread == GetCurrentThreadId() ? CurrentQueue() : QueueOfThread(thread);
  if (!queue || !Post(*queue, nullptr, message, wParam, lParam)) {
    SetLastError(ERROR_INVALID_THREAD_ID);
    return FALSE;
  }
  return TRUE;
}

LRESULT WINAPI SendMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  auto window = FindWindowRecord(hWnd);
  if (!window) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  auto sent = std::make_shared<SentMessage>();
  sent->hwnd = hWnd;
  sent->message = Msg;
  sent->wParam = wParam;
  sent->lParam = lParam;
  return RunOnThread(window->queue, sent);
}

BOOL WINAPI GetMessageA(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax) {
  if (!msg) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return -1;
  }
  Retrieve(msg, hwnd, filterMin, filterMax, Take::Remove, true);
  return msg->message == WM_QUIT ? FALSE : TRUE;
}

BOOL WINAPI PeekMessageA(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeMsg) {
  if (!msg) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  Take take = (removeMsg & PM_REMOVE) ? Take::Remove : Take::Peek;
  return Retrieve(msg, hwnd, filterMin, filterMax, take, false) ? TRUE : FALSE;
}

BOOL WINAPI WaitMessage(void) {
  MSG ignored;
  Retrieve(&ignored, nullptr, 0, 0, Take::Peek, true);
  return TRUE;
}

LRESULT WINAPI DispatchMessageA(const MSG* msg) {
  if (!msg) return 0;
  if (msg->message == WM_TIMER && msg->lParam != 0) {
    auto proc = reinterpret_cast<TIMERPROC>(msg->lParam);
    proc(msg->hwnd, WM_TIMER, msg->wParam, GetTickCount());
    return 0;
  }
  if (!msg->hwnd || !OwnWindowRecord(msg->hwnd)) return 0;
  const LRESULT result = CallWindow(msg->hwnd, msg->message, msg->wParam, msg->lParam);
  // A procedure that painted nothing gets no WM_PAINT again until the window
  // is invalidated anew (Windows would repeat it for ever).
  if (msg->message == WM_PAINT) Validate(msg->hwnd);
  return result;
}

BOOL WINAPI TranslateMessage(const MSG* msg) {
  if (!msg) return FALSE;
  bool down = msg->message == WM_KEYDOWN || msg->message == WM_SYSKEYDOWN;
  bool up = msg->message == WM_KEYUP || msg->message == WM_SYSKEYUP;
  if (!down) return up ? TRUE : FALSE;
  WPARAM key = msg->wParam;
  WPARAM ch = 0;
  if (key >= 'A' && key <= 'Z') ch = key - 'A' + 'a';
  else if ((key >= '0' && key <= '9') || key == ' ') ch = key;
  else if (key == 0x0D || key == 0x09 || key == 0x08 || key == 0x1B) ch = key;  // Enter, Tab, Back, Esc
  if (ch) {
    UINT charMessage = msg->message == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR;
    PostMessageA(msg->hwnd, charMessage, ch, msg->lParam);
  }
  return TRUE;
}

VOID WINAPI PostQuitMessage(int exitCode) {
  auto queue = CurrentQueue();
  std::lock_guard<std::mutex> lock(queue->mutex);
  queue->quit = true;
  queue->quitCode = exitCode;
  queue->wake.notify_all();
}

}  // extern "C"
