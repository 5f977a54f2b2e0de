// The end of a program's session: SIGTERM closes the process's application
// windows (WS_EX_APPWINDOW) with WM_CLOSE, as the task list does, and leaves
// its other windows alone.
#include <gtest/gtest.h>

#include <windows.h>

#include <csignal>

#include "tests/ui/pump.h"

namespace {

int g_appClosed = 0, g_otherClosed = 0;

// Both count WM_CLOSE and stay: what closing means is the program's business.
LRESULT CALLBACK AppProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_CLOSE) return DefWindowProcA(hwnd, message, wParam, lParam);
  ++g_appClosed;
  return 0;
}

LRESULT CALLBACK OtherProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_CLOSE) return DefWindowProcA(hwnd, message, wParam, lParam);
  ++g_otherClosed;
  return 0;
}

HWND Make(const char* cls, WNDPROC proc, DWORD exStyle) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = proc;
  wc.lpszClassName = cls;
  RegisterClassExA(&wc);
  return CreateWindowExA(exStyle, cls, cls, WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
}

TEST(SessionEnd, SigtermClosesTheApplicationWindowsOnly) {
  HWND app = Make("AppWindow", AppProc, WS_EX_APPWINDOW);
  HWND other = Make("OtherWindow", OtherProc, WS_EX_TOOLWINDOW);
  ASSERT_TRUE(app && other);
  std::raise(SIGTERM);
  ASSERT_TRUE(uitest::PumpUntil([] { return g_appClosed == 1; })) << "WM_CLOSE never came";
  EXPECT_EQ(g_otherClosed, 0);
  EXPECT_TRUE(IsWindow(app)) << "closing is the window's own business";
  DestroyWindow(other);
  DestroyWindow(app);
}

}  // namespace
