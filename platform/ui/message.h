// Posting, sending and retrieving window messages, with Win32's semantics:
// every thread that uses them has one queue; posted messages are delivered in
// order, sent messages before posted ones, WM_QUIT once the queue is empty,
// WM_TIMER last. A thread that waits for a message blocks without waking until
// something arrives or its next timer comes due.
#pragma once
#include <cstdint>

#include "platform/ui/messages.h"

namespace orv::win {

// Queues a message for the window's thread and returns at once. NULL hwnd posts
// to the calling thread. FALSE with ERROR_INVALID_WINDOW_HANDLE for a window that
// does not exist (or no longer does).
BOOL PostMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Queues a message with no window for a thread; FALSE with
// ERROR_INVALID_THREAD_ID when that thread has no queue.
BOOL PostThreadMessageA(DWORD thread, UINT message, WPARAM wParam, LPARAM lParam);

// Calls the window procedure and returns its answer. For a window of the same
// thread the call is direct; for another thread's window the message is handed to
// that thread and the caller waits, handling meanwhile the messages other threads
// send to it (so a receiver that sends back does not deadlock). 0 with
// ERROR_INVALID_WINDOW_HANDLE for a bad window; 0 when the window's thread ends
// before it handled the message.
LRESULT SendMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Waits for a message (hwnd NULL: any of the thread; else that window's; filter
// range 0,0: all). FALSE for WM_QUIT, TRUE otherwise.
BOOL GetMessageA(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax);

// As GetMessage without waiting: FALSE when nothing is there. PM_REMOVE takes the
// message out of the queue.
BOOL PeekMessageA(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeMsg);

// Blocks until a message (posted, sent, quit or timer) is there for the thread.
BOOL WaitMessage();

// Calls the window procedure of msg->hwnd (or the timer procedure of a WM_TIMER
// that carries one) and returns its answer.
LRESULT DispatchMessageA(const MSG* msg);

// Posts WM_CHAR / WM_SYSCHAR for a key-down of a key that has a character without
// shift state (letters in lower case, digits, space, Enter, Tab, Backspace, Esc).
// TRUE for every key-down and key-up, as Win32 answers; FALSE for other messages.
BOOL TranslateMessage(const MSG* msg);

// Marks the thread's queue to deliver WM_QUIT (wParam exitCode) once it is empty.
void PostQuitMessage(int exitCode);

}  // namespace orv::win

namespace orv::ui {

// For tests and benchmarks: how often the calling thread blocked waiting for a
// message and how often such a block ended (an idle loop should not wake at all).
struct QueueStats {
  std::uint64_t waits;
  std::uint64_t wakeups;
};
QueueStats CurrentQueueStats();

}  // namespace orv::ui
