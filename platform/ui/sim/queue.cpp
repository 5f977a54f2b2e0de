// The per-thread queues: made on a thread's first use of the message core and
// ended with the thread, releasing any sender still waiting on it.
#include <windows.h>

#include <algorithm>
#include <unordered_map>

#include "platform/ui/sim/internal.h"

namespace orv::ui::detail {
namespace {

struct Queues {
  std::mutex mutex;
  std::unordered_map<DWORD, std::shared_ptr<ThreadQueue>> byThread;
};

Queues& TheQueues() {
  static Queues* queues = new Queues;  // never destroyed: threads may end during exit
  return *queues;
}

// Lives in thread-local storage: its end is the thread's end.
struct QueueHolder {
  std::shared_ptr<ThreadQueue> queue;
  ~QueueHolder() {
    if (!queue) return;
    {
      Queues& q = TheQueues();
      std::lock_guard<std::mutex> lock(q.mutex);
      q.byThread.erase(queue->thread);
    }
    std::deque<std::shared_ptr<SentMessage>> unanswered;
    {
      std::lock_guard<std::mutex> lock(queue->mutex);
      queue->alive = false;
      unanswered.swap(queue->sent);
      queue->posted.clear();
      queue->timers.clear();
    }
    for (auto& sent : unanswered) CompleteSent(sent, 0);
    DropThreadWindows(queue->thread);
  }
};

thread_local QueueHolder t_holder;

}  // namespace

std::shared_ptr<ThreadQueue> CurrentQueue() {
  if (!t_holder.queue) {
    t_holder.queue = std::make_shared<ThreadQueue>(GetCurrentThreadId());
    Queues& q = TheQueues();
    std::lock_guard<std::mutex> lock(q.mutex);
    q.byThread[t_holder.queue->thread] = t_holder.queue;
  }
  return t_holder.queue;
}

std::shared_ptr<ThreadQueue> QueueOfThread(DWORD thread) {
  Queues& q = TheQueues();
  std::lock_guard<std::mutex> lock(q.mutex);
  auto it = q.byThread.find(thread);
  return it == q.byThread.end() ? nullptr : it->second;
}

void CompleteSent(const std::shared_ptr<SentMessage>& sent, LRESULT result) {
  std::lock_guard<std::mutex> lock(sent->sender->mutex);
  sent->result = result;
  sent->done = true;
  sent->sender->wake.notify_all();
}

void ForgetWindow(ThreadQueue& queue, HWND hwnd) {
  std::deque<std::shared_ptr<SentMessage>> unanswered;
  {
    std::lock_guard<std::mutex> lock(queue.mutex);
    std::deque<MSG> kept;
    for (auto& m : queue.posted) if (m.hwnd != hwnd) kept.push_back(m);
    queue.posted.swap(kept);
    std::deque<std::shared_ptr<SentMessage>> keptSent;
    for (auto& s : queue.sent) (s->hwnd == hwnd ? unanswered : keptSent).push_back(s);
    queue.sent.swap(keptSent);
    queue.timers.erase(std::remove_if(queue.timers.begin(), queue.timers.end(),
                                      [&](const Timer& t) { return t.hwnd == hwnd; }),
                       queue.timers.end());
    queue.paint.erase(std::remove_if(queue.paint.begin(), queue.paint.end(),
                                     [&](const PendingPaint& p) { return p.hwnd == hwnd; }),
                      queue.paint.end());
  }
  for (auto& sent : unanswered) CompleteSent(sent, 0);
}

}  // namespace orv::ui::detail
