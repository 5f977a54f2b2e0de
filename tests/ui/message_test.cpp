// Posting, sending and retrieving messages between real threads, with windows
// made as programs make them (RegisterClassExA, CreateWindowExA, an object
// found through GWLP_USERDATA).
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <future>
#include <thread>
#include <vector>

#include "platform/ui/sim/window_events.h"

namespace {

constexpr UINT WM_PING = WM_USER + 1;
constexpr UINT WM_ASK_BACK = WM_USER + 2;

// A window whose procedure records what reached it; optionally sends back to a peer.
struct Recorder {
  std::vector<UINT> seen;
  std::vector<WPARAM> params;
  HWND peer = nullptr;
  DWORD thread = 0;

  LRESULT Handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE || message == WM_CREATE) return DefWindowProcA(hwnd, message, wParam, lParam);
    seen.push_back(message);
    params.push_back(wParam);
    thread = GetCurrentThreadId();
    if (message == WM_ASK_BACK) return SendMessageA(peer, WM_PING, wParam, 0) + 1;
    if (message == WM_PING) return static_cast<LRESULT>(wParam) * 10 + lParam;
    if (message == WM_CLOSE) PostQuitMessage(7);
    return DefWindowProcA(hwnd, message, wParam, lParam);
  }

  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
      auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
      SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<Recorder*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    return self ? self->Handle(hwnd, message, wParam, lParam) : DefWindowProcA(hwnd, message, wParam, lParam);
  }
};

const char* RecorderClass() {
  static const bool registered = [] {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = Recorder::Proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "Recorder";
    return RegisterClassExA(&wc) != 0;
  }();
  return registered ? "Recorder" : nullptr;
}

HWND MakeWindow(Recorder* recorder, const char* title = "", RECT r = RECT{0, 0, 0, 0}) {
  return CreateWindowExA(0, RecorderClass(), title, WS_POPUP, r.left, r.top, r.right - r.left, r.bottom - r.top,
                         nullptr, nullptr, GetModuleHandleA(nullptr), recorder);
}

// Runs a window with a message loop on its own thread until WM_QUIT.
struct UiThread {
  Recorder recorder;
  std::promise<HWND> ready;
  std::thread thread;
  int exitCode = -1;
  HWND hwnd = nullptr;
  UiThread() {
    thread = std::thread([this] {
      HWND w = MakeWindow(&recorder);
      ready.set_value(w);
      MSG msg;
      while (GetMessageA(&msg, nullptr, 0, 0)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
      }
      exitCode = static_cast<int>(msg.wParam);
      DestroyWindow(w);
    });
    hwnd = ready.get_future().get();
  }
  void Stop() {
    if (thread.joinable()) {
      PostMessageA(hwnd, WM_CLOSE, 0, 0);
      thread.join();
    }
  }
  ~UiThread() { Stop(); }
};

TEST(MessageCore, PostedMessagesArriveInOrderOnTheOwningThreadAndQuitComesLast) {
  UiThread ui;
  for (WPARAM i = 0; i < 100; ++i) ASSERT_TRUE(PostMessageA(ui.hwnd, WM_PING, i, 0));
  ui.Stop();
  EXPECT_EQ(ui.exitCode, 7);
  // 100 pings, the close that ended the loop, then the window's destruction.
  ASSERT_EQ(ui.recorder.seen.size(), 103u);
  for (WPARAM i = 0; i < 100; ++i) EXPECT_EQ(ui.recorder.params[i], i);
  EXPECT_EQ(ui.recorder.seen[100], static_cast<UINT>(WM_CLOSE));
  EXPECT_EQ(ui.recorder.seen[101], static_cast<UINT>(WM_DESTROY));
  EXPECT_NE(ui.recorder.thread, GetCurrentThreadId());
}

TEST(MessageCore, SendAcrossThreadsWaitsForTheAnswerAndSurvivesASendBack) {
  UiThread ui;
  // The sender's own window, answered by this thread while it waits in SendMessage.
  Recorder mine;
  HWND me = MakeWindow(&mine);
  EXPECT_EQ(SendMessageA(ui.hwnd, WM_PING, 4, 2), 42);
  ui.recorder.peer = me;
  // The receiver sends back to us while we wait for it: no deadlock, answers nest.
  EXPECT_EQ(SendMessageA(ui.hwnd, WM_ASK_BACK, 5, 0), 51);
  ASSERT_EQ(mine.seen.size(), 1u);
  EXPECT_EQ(mine.thread, GetCurrentThreadId());
  // Same-thread send calls the procedure directly.
  EXPECT_EQ(SendMessageA(me, WM_PING, 3, 1), 31);
  EXPECT_EQ(mine.seen.size(), 2u);
  ui.Stop();
  // A window whose thread has ended is gone: sending and posting to it fail.
  EXPECT_EQ(SendMessageA(ui.hwnd, WM_PING, 1, 0), 0);
  EXPECT_FALSE(PostMessageA(ui.hwnd, WM_PING, 1, 0));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
  DestroyWindow(me);
}

TEST(MessageCore, ManySendersFromManyThreadsAllGetTheirOwnAnswers) {
  UiThread ui;
  std::atomic<int> wrong{0};
  std::vector<std::thread> senders;
  for (int t = 0; t < 4; ++t) {
    senders.emplace_back([&, t] {
      for (int i = 0; i < 200; ++i) {
        if (SendMessageA(ui.hwnd, WM_PING, static_cast<WPARAM>(i), t) != i * 10 + t) ++wrong;
      }
    });
  }
  for (auto& s : senders) s.join();
  EXPECT_EQ(wrong.load(), 0);
}

TEST(MessageCore, DestroyedWindowRejectsMessagesAndDropsWhatWasQueued) {
  Recorder r;
  HWND w = MakeWindow(&r);
  ASSERT_TRUE(IsWindow(w));
  ASSERT_TRUE(PostMessageA(w, WM_PING, 1, 0));
  ASSERT_TRUE(SetTimer(w, 5, 10, nullptr));
  ASSERT_TRUE(DestroyWindow(w));
  EXPECT_EQ(r.seen, (std::vector<UINT>{WM_DESTROY, WM_NCDESTROY}));
  EXPECT_FALSE(IsWindow(w));
  EXPECT_FALSE(PostMessageA(w, WM_PING, 1, 0));
  EXPECT_FALSE(DestroyWindow(w));
  // Neither the post nor the timer survive, even once the timer's period has passed.
  const DWORD start = GetTickCount();
  MSG msg;
  while (GetTickCount() - start < 30) EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST(MessageCore, ThreadMessagesFiltersPeekAndQuit) {
  DWORD self = GetCurrentThreadId();
  MSG msg;
  ASSERT_TRUE(PostThreadMessageA(self, WM_USER + 10, 1, 0));
  ASSERT_TRUE(PostThreadMessageA(self, WM_USER + 20, 2, 0));
  PostQuitMessage(3);
  // The range filter picks the later message first; PM_NOREMOVE leaves it there.
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_USER + 20, WM_USER + 20, PM_NOREMOVE));
  EXPECT_EQ(msg.wParam, 2u);
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_USER + 20, WM_USER + 20, PM_REMOVE));
  ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER + 10));
  EXPECT_EQ(msg.hwnd, nullptr);
  EXPECT_FALSE(GetMessageA(&msg, nullptr, 0, 0));  // WM_QUIT once the queue is empty
  EXPECT_EQ(msg.wParam, 3u);
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  // A thread without a queue cannot take thread messages.
  EXPECT_FALSE(PostThreadMessageA(0x7FFFFFF0, WM_USER, 0, 0));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_THREAD_ID));
}

TEST(MessageCore, RegisteredMessagesAndTranslation) {
  UINT hook = RegisterWindowMessageA("KB_HOOK_MESSAGE");
  EXPECT_GE(hook, 0xC000u);
  EXPECT_LE(hook, 0xFFFFu);
  EXPECT_EQ(RegisterWindowMessageA("kb_hook_message"), hook);
  UINT other = RegisterWindowMessageA("Some Other Message");
  EXPECT_NE(other, hook);
  std::thread([&] { EXPECT_EQ(RegisterWindowMessageA("KB_HOOK_MESSAGE"), hook); }).join();
  EXPECT_EQ(RegisterWindowMessageA(""), 0u);
  EXPECT_TRUE(ChangeWindowMessageFilter(hook, MSGFLT_ADD));

  Recorder r;
  HWND w = MakeWindow(&r);
  MSG key{w, WM_KEYDOWN, 'S', 0, 0, {0, 0}};
  EXPECT_TRUE(TranslateMessage(&key));
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, w, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_CHAR));
  EXPECT_EQ(msg.wParam, static_cast<WPARAM>('s'));
  MSG other_msg{w, WM_USER, 0, 0, 0, {0, 0}};
  EXPECT_FALSE(TranslateMessage(&other_msg));
  DestroyWindow(w);
}

TEST(MessageCore, WindowAttributesAndObservers) {
  std::vector<orv::ui::WindowEvent> events;
  int cookie = orv::ui::AddWindowObserver([&](HWND, orv::ui::WindowEvent e) { events.push_back(e); });
  Recorder r;
  HWND w = MakeWindow(&r, "Calvex", RECT{10, 20, 110, 70});
  RECT rc;
  ASSERT_TRUE(GetWindowRect(w, &rc));
  EXPECT_EQ(rc.right - rc.left, 100);
  EXPECT_TRUE(MoveWindow(w, -100, -50, 100, 50, TRUE));
  GetWindowRect(w, &rc);
  EXPECT_EQ(rc.left, -100);
  EXPECT_FALSE(ShowWindow(w, SW_SHOWNOACTIVATE));
  EXPECT_TRUE(IsWindowVisible(w));
  EXPECT_TRUE(GetWindowLongPtrA(w, GWL_STYLE) & WS_VISIBLE);
  EXPECT_TRUE(ShowWindow(w, SW_HIDE));
  char text[4];
  EXPECT_EQ(GetWindowTextA(w, text, sizeof text), 3);
  EXPECT_STREQ(text, "Cal");
  EXPECT_EQ(GetWindowTextLengthA(w), 6);
  SetPropA(w, "Layer", reinterpret_cast<HANDLE>(0x55));
  EXPECT_EQ(GetPropA(w, "LAYER"), reinterpret_cast<HANDLE>(0x55));
  DWORD pid = 0;
  EXPECT_EQ(GetWindowThreadProcessId(w, &pid), GetCurrentThreadId());
  EXPECT_EQ(pid, GetCurrentProcessId());
  // Another thread may not destroy the window.
  std::thread([&] { EXPECT_FALSE(DestroyWindow(w)); }).join();
  DestroyWindow(w);
  orv::ui::RemoveWindowObserver(cookie);
  using E = orv::ui::WindowEvent;
  EXPECT_EQ(events, (std::vector<E>{E::Created, E::Moved, E::Shown, E::Hidden, E::Destroyed}));
  // WM_SHOWWINDOW reached the window on each change.
  EXPECT_EQ(std::count(r.seen.begin(), r.seen.end(), static_cast<UINT>(WM_SHOWWINDOW)), 2);
}

}  // namespace
