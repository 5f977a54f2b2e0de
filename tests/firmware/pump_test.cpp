// PumpPendingMessages: every waiting message of every window of the thread is
// offered to the dialog filter first, dispatched only when it declines, and a
// quit request is left for the loop that runs the thread.
#include <gtest/gtest.h>

#include <vector>

#include <windows.h>

#include "tests/support/test_window.h"
#include "tray/core/message_pump.h"

namespace {


std::vector<UINT> g_dispatched;

LRESULT RecordingProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m >= WM_USER || m == WM_CHAR) g_dispatched.push_back(m);
  return DefWindowProcA(h, m, w, l);
}

TEST(MessagePump, FilterFirstThenDispatchAndQuitKept) {
  HWND a = orv::test::CreateTestWindow(RecordingProc);
  HWND b = orv::test::CreateTestWindow(RecordingProc);

  // Without a filter: every window's messages, in order; a key gets its character.
  PostMessageA(a, WM_USER + 1, 0, 0);
  PostMessageA(b, WM_USER + 2, 0, 0);
  PostMessageA(a, WM_KEYDOWN, 'A', 0);
  PumpPendingMessages();
  EXPECT_EQ(g_dispatched, (std::vector<UINT>{WM_USER + 1, WM_USER + 2, WM_CHAR}));
  MSG left{};
  EXPECT_FALSE(PeekMessageA(&left, nullptr, 0, 0, PM_NOREMOVE));

  // The filter sees each message; those it takes are not dispatched again.
  g_dispatched.clear();
  std::vector<UINT> offered;
  SetDialogMessageFilter([&](MSG* m) {
    offered.push_back(m->message);
    return m->message == WM_USER + 3;
  });
  PostMessageA(a, WM_USER + 3, 0, 0);
  PostMessageA(b, WM_USER + 4, 0, 0);
  PumpPendingMessages();
  EXPECT_EQ(offered, (std::vector<UINT>{WM_USER + 3, WM_USER + 4}));
  EXPECT_EQ(g_dispatched, (std::vector<UINT>{WM_USER + 4}));

  // A quit ends the pump but stays for the thread's own loop; later messages wait too.
  SetDialogMessageFilter(nullptr);
  g_dispatched.clear();
  PostMessageA(a, WM_USER + 5, 0, 0);
  PostQuitMessage(3);
  PumpPendingMessages();
  EXPECT_EQ(g_dispatched, (std::vector<UINT>{WM_USER + 5}));
  MSG quit{};
  EXPECT_FALSE(GetMessageA(&quit, nullptr, 0, 0));
  EXPECT_EQ(quit.message, WM_QUIT);
  EXPECT_EQ(quit.wParam, 3u);

  DestroyWindow(a);
  DestroyWindow(b);
}

}  // namespace
