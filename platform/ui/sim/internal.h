// What the simulated window manager's files share inside orv_ui: the window and
// class records, the per-thread queue and the lookups between them. Not for use
// outside platform/ui/sim.
#pragma once
#include <windows.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/ui/sim/window_events.h"

namespace orv::ui::detail {

using Clock = std::chrono::steady_clock;

struct ThreadQueue;

// Lowercases ASCII letters, for names Win32 compares without regard to case.
std::string FoldCase(const std::string& s);

struct WindowClass {
  std::string name;     // as registered
  ATOM atom = 0;
  bool system = false;  // "#32770", "BUTTON", "EDIT", "STATIC", "LISTBOX"
  WNDCLASSEXA info{};   // as registered; its class name is name's text
};

// The caption bar of a window with WS_CAPTION (the simulated screen draws no frames).
constexpr int kCaptionHeight = 23;

struct Window {
  HWND handle = nullptr;
  DWORD thread = 0;
  std::shared_ptr<ThreadQueue> queue;
  std::shared_ptr<const WindowClass> cls;
  WNDPROC proc = nullptr;
  HINSTANCE instance = nullptr;
  LONG_PTR userData = 0;
  LONG_PTR id = 0;  // a child window's id (its hMenu)
  RECT rect{0, 0, 0, 0};  // a child's in its parent's client coordinates, else the screen's
  bool visible = false;
  bool enabled = true;
  std::string text;
  DWORD style = 0;
  DWORD exStyle = 0;
  HWND parent = nullptr;  // WS_CHILD: the parent; otherwise the owner
  HICON iconSmall = nullptr, iconBig = nullptr;
  bool pushed = false;  // a button held down (BM_SETSTATE)
  std::map<std::string, HANDLE> props;  // key folded
};

// A call handed to another thread that waits for its answer: a SendMessage
// (hwnd and message) or any other call to be run there (a hook's procedure).
// The receiver fills result and sets done under the sender queue's lock.
struct SentMessage {
  HWND hwnd = nullptr;
  UINT message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  std::function<LRESULT()> call;  // set instead of a message
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

// A window waiting for WM_PAINT: its parent (a child's) goes first.
struct PendingPaint {
  HWND hwnd;
  HWND parent;  // null for a top-level window
  bool erase;   // its background to be erased first
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
  HWND focus = nullptr;        // the thread's keyboard focus
  // Windows of the thread waiting for WM_PAINT, oldest first.
  std::vector<PendingPaint> paint;
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
// Runs f on the live window record under the table's lock; false (with
// ERROR_INVALID_WINDOW_HANDLE) for a bad handle.
bool WithWindow(HWND hwnd, const std::function<void(Window&)>& f);
// Live windows in creation order, each taken when keep answers true.
std::vector<HWND> SelectWindows(const std::function<bool(const Window&)>& keep);
// Adds a new window to the table and gives it its handle.
HWND AddWindow(const std::shared_ptr<Window>& window);
// Takes a window out of the table; its handle is invalid from then on.
void RemoveWindow(HWND hwnd);

// Calls the window's procedure on the calling thread.
LRESULT CallWindow(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Hands a call to a thread's queue and waits for its answer, answering meanwhile
// what is handed to the caller. Runs it directly when target is the caller's
// queue; 0 when the target thread ends first.
LRESULT RunOnThread(const std::shared_ptr<ThreadQueue>& target, const std::shared_ptr<SentMessage>& sent);
// Completes a sent message: the receiver's answer reaches the waiting sender.
void CompleteSent(const std::shared_ptr<SentMessage>& sent, LRESULT result);

// Drops what the queue holds for a window that has gone (posted messages, timers).
void ForgetWindow(ThreadQueue& queue, HWND hwnd);
// Removes every window of a thread that ends, without messages (its procedures
// may already be gone with the thread).
void DropThreadWindows(DWORD thread);

// The class of a name or atom: the module's own, then the system's.
std::shared_ptr<const WindowClass> FindClass(LPCSTR name, HINSTANCE instance);
// The procedures of the system classes.
LRESULT CALLBACK DialogClassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK EditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK StaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ListBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Marks a window, and with children its descendants too, as needing WM_PAINT
// (with its background erased); layered windows are never painted.
void InvalidateWindow(HWND hwnd, bool erase, bool children);
// Whether a window of the thread's paint list can be painted now (it and its
// parents visible); one that cannot leaves the list.
bool Paintable(HWND hwnd);
// Takes a window off its thread's paint list.
void Validate(HWND hwnd);
// The client area in client coordinates (GetClientRect, which the desktop
// part of the platform serves to programs).
RECT ClientRectOf(HWND hwnd);
// A DC on a window's pixels for the system's own drawing (an owner-drawn
// button's state change), from the desktop; NULL without a desktop.
HDC SystemWindowDc(HWND hwnd);
void ReleaseSystemWindowDc(HWND hwnd, HDC hdc);

// Tells the observers of window_events.h.
void Notify(HWND hwnd, WindowEvent event);

// Windows of a WS_EX_APPWINDOW style exist: the process ends its work through
// them when the session asks it to, and its windows hear of the machine's sleep
// (session_end.cpp).
void WatchSessionEnd();

}  // namespace orv::ui::detail
