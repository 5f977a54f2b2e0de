// What the message core's files share inside orv_ui: the window record, the
// per-thread queue and the lookups between them. Not for use outside platform/ui.
#pragma once
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/ui/window.h"

namespace orv::ui::detail {

using Clock = std::chrono::steady_clock;
using namespace orv::win;

struct ThreadQueue;

// Lowercases ASCII letters, for names Win32 compares without regard to case.
std::string FoldCase(const std::string& s);

struct Window {
  HWND handle = nullptr;
  DWORD thread = 0;
  std::shared_ptr<ThreadQueue> queue;
  WNDPROC proc = nullptr;
  WindowHandler* handler = nullptr;
  std::intptr_t userData = 0;
  RECT rect{0, 0, 0, 0};
  bool visible = false;
  std::string text;
  DWORD style = 0;
  DWORD exStyle = 0;
  HWND parent = nullptr;
  std::map<std::string, HANDLE> props;  // key folded
};

// A SendMessage across threads: the receiver fills result and sets done under the
// sender queue's lock, then wakes the sender.
struct SentMessage {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  LRESULT result = 0;
  bool done = false;
  std::shared_ptr<ThreadQueue> sender;
};

struct Timer {
  HWND hwnd;
  UINT_PTR id;
  UINT elapse;
  TIMERPROC proc;
  Clock::time_point due;
};

struct ThreadQueue {
  explicit ThreadQueue(DWORD id) : thread(id) {}
  const DWORD thread;
  std::mutex mutex;
  std::condition_variable wake;
  std::deque<MSG> posted;
  std::deque<std::shared_ptr<SentMessage>> sent;
  std::vector<Timer> timers;
  bool quit = false;
  int quitCode = 0;
  bool alive = true;
  std::uint64_t waits = 0;     // times the thread blocked for want of a message
  std::uint64_t wakeups = 0;   // times such a block ended
};

// The calling thread's queue, made on first use and ended with the thread.
std::shared_ptr<ThreadQueue> CurrentQueue();
// Another thread's queue, or null when that thread has none (or has ended).
std::shared_ptr<ThreadQueue> QueueOfThread(DWORD thread);

// A snapshot of a live window, null for an invalid handle.
std::shared_ptr<Window> FindWindowRecord(HWND hwnd);

// The live window if the calling thread owns it; else null with the error set
// (ERROR_INVALID_WINDOW_HANDLE or ERROR_ACCESS_DENIED).
std::shared_ptr<Window> OwnWindowRecord(HWND hwnd);

// Calls the window's procedure or handler on the calling thread.
LRESULT CallWindow(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Completes a sent message: the receiver's answer reaches the waiting sender.
void CompleteSent(const std::shared_ptr<SentMessage>& sent, LRESULT result);

// Drops what the queue holds for a window that has gone (posted messages, timers).
void ForgetWindow(ThreadQueue& queue, HWND hwnd);

// Removes every window of a thread that ends, without messages (its procedures
// may already be gone with the thread).
void DropThreadWindows(DWORD thread);

}  // namespace orv::ui::detail
