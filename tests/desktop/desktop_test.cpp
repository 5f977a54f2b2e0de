// The simulated desktop's Win32 calls: a window's shape and DC as the composed
// screen shows them, the screen's metrics, work area and monitor for each
// taskbar edge, and the shell's windows.
#include <gtest/gtest.h>

#include <windows.h>
#include <gdiplus.h>

#include "platform/desktop/sim/compositor.h"
#include "platform/desktop/sim/screen.h"
#include "platform/gfx/sim/gdi.h"
#include "tests/desktop/desktop_support.h"
#include "tests/support/process.h"

namespace {

using orv::desktop::Edge;

orv::gfx::Surface Frame() {
  orv::gfx::Surface f;
  orv::desktop::ComposeFrame(&f);
  return f;
}

bool Same(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

}  // namespace

TEST(DesktopWindows, AWindowShowsItsDcsPixelsOnlyInsideItsShapeAndOwnsTheShape) {
  orv::test::TempHome home;
  ULONG_PTR token = 0;
  Gdiplus::GdiplusStartupInput input;
  ASSERT_EQ(Gdiplus::GdiplusStartup(&token, &input, nullptr), Gdiplus::Ok);
  const int objects = orv::gfx::LiveGdiObjects();
  HWND window = desktoptest::ShowPlainWindow(RECT{200, 100, 300, 200});
  ASSERT_NE(window, nullptr);
  {
    HDC dc = GetDC(window);
    ASSERT_NE(dc, nullptr);
    Gdiplus::Graphics(dc).Clear(Gdiplus::Color(0xFFFF0000));
    EXPECT_EQ(ReleaseDC(window, dc), 1);
  }
  const orv::gfx::Pixel red = 0xFFFF0000;
  orv::gfx::Surface whole = Frame();
  EXPECT_EQ(whole.At(210, 110), red);
  EXPECT_EQ(whole.At(290, 190), red);

  // The top-left quarter only; what lies outside shows what is behind.
  HRGN quarter = CreateRectRgn(0, 0, 50, 50);
  ASSERT_EQ(SetWindowRgn(window, quarter, TRUE), 1);
  orv::gfx::Surface shaped = Frame();
  ShowWindow(window, SW_HIDE);
  orv::gfx::Surface behind = Frame();
  ShowWindow(window, SW_SHOWNA);
  EXPECT_EQ(shaped.At(210, 110), red);
  EXPECT_EQ(shaped.At(249, 149), red);
  EXPECT_EQ(shaped.At(250, 150), behind.At(250, 150));
  EXPECT_EQ(shaped.At(290, 190), behind.At(290, 190));

  HRGN copy = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetWindowRgn(window, copy), SIMPLEREGION);
  RECT box;
  GetRgnBox(copy, &box);
  EXPECT_TRUE(Same(box, RECT{0, 0, 50, 50}));
  // The window owns its shape: a new one replaces and deletes the old one, and
  // no shape at all deletes the last.
  ASSERT_EQ(SetWindowRgn(window, CreateRectRgn(50, 50, 100, 100), TRUE), 1);
  EXPECT_FALSE(DeleteObject(quarter)) << "the replaced shape is still alive";
  EXPECT_EQ(Frame().At(290, 190), red);
  ASSERT_EQ(SetWindowRgn(window, nullptr, TRUE), 1);
  EXPECT_EQ(GetWindowRgn(window, copy), RGN_ERROR);
  EXPECT_EQ(Frame().At(210, 110), red);
  EXPECT_TRUE(DeleteObject(copy));
  EXPECT_EQ(SetWindowRgn(nullptr, nullptr, TRUE), 0);
  DestroyWindow(window);
  EXPECT_EQ(orv::gfx::LiveGdiObjects(), objects) << "a DC or region was left behind";
  Gdiplus::GdiplusShutdown(token);
}

TEST(DesktopScreen, MetricsWorkAreaMonitorAndTaskbarFollowTheScreenSetUp) {
  orv::test::TempHome home;
  struct Case {
    int width, height;
    Edge edge;
    int thickness;
    RECT work, taskbar;
  };
  const Case cases[] = {
      {1280, 800, Edge::Bottom, 30, {0, 0, 1280, 770}, {0, 770, 1280, 800}},
      {1024, 768, Edge::Right, 48, {0, 0, 976, 768}, {976, 0, 1024, 768}},
      {1920, 1080, Edge::Top, 40, {0, 40, 1920, 1080}, {0, 0, 1920, 40}},
      {800, 600, Edge::None, 30, {0, 0, 800, 600}, {0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.width << "x" << c.height << " edge " << static_cast<int>(c.edge));
    orv::desktop::SetConfig({c.width, c.height, c.edge, c.thickness});
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), c.width);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), c.height);
    EXPECT_EQ(GetSystemMetrics(SM_CXFULLSCREEN), c.work.right - c.work.left);
    EXPECT_EQ(GetSystemMetrics(SM_CYFULLSCREEN), c.work.bottom - c.work.top - GetSystemMetrics(SM_CYCAPTION));
    EXPECT_EQ(GetSystemMetrics(SM_CMONITORS), 1);
    RECT work{};
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0));
    EXPECT_TRUE(Same(work, c.work));

    HMONITOR monitor = MonitorFromPoint(POINT{c.width - 1, c.height - 1}, MONITOR_DEFAULTTONULL);
    ASSERT_NE(monitor, nullptr);
    EXPECT_EQ(MonitorFromPoint(POINT{c.width, 0}, MONITOR_DEFAULTTONULL), nullptr);
    EXPECT_EQ(MonitorFromPoint(POINT{c.width, 0}, MONITOR_DEFAULTTONEAREST), monitor);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetMonitorInfoA(monitor, &info));
    EXPECT_TRUE(Same(info.rcMonitor, RECT{0, 0, c.width, c.height}));
    EXPECT_TRUE(Same(info.rcWork, c.work));
    EXPECT_EQ(info.dwFlags, static_cast<DWORD>(MONITORINFOF_PRIMARY));

    HWND bar = FindWindowA("Shell_TrayWnd", "");
    RECT place{};
    if (c.edge == Edge::None) {
      EXPECT_EQ(bar, nullptr);
    } else {
      ASSERT_NE(bar, nullptr);
      ASSERT_TRUE(GetWindowRect(bar, &place));
      EXPECT_TRUE(Same(place, c.taskbar));
    }
  }
  orv::desktop::SetConfig(orv::desktop::Config{});
  SetLastError(0);
  RECT unused;
  EXPECT_FALSE(SystemParametersInfoA(0x0031, 0, &unused, 0));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST(DesktopScreen, TheRootAndShellWindowsStandBehindEverything) {
  orv::test::TempHome home;
  char name[64] = {};
  HWND root = GetDesktopWindow(), shell = GetShellWindow();
  ASSERT_NE(root, nullptr);
  ASSERT_NE(shell, nullptr);
  EXPECT_NE(root, shell);
  EXPECT_EQ(GetDesktopWindow(), root) << "one root window";
  GetClassNameA(root, name, sizeof name);
  EXPECT_STREQ(name, "#32769");
  GetClassNameA(shell, name, sizeof name);
  EXPECT_STREQ(name, "Progman");
  EXPECT_EQ(GetClassNameA(shell, name, 4), 3);
  EXPECT_STREQ(name, "Pro");
  // With nothing in front, the foreground is the shell's window; a window made
  // the foreground is it while it is shown.
  EXPECT_EQ(GetForegroundWindow(), shell);
  HWND front = desktoptest::ShowPlainWindow(RECT{0, 0, 10, 10});
  ASSERT_TRUE(SetForegroundWindow(front));
  EXPECT_EQ(GetForegroundWindow(), front);
  ShowWindow(front, SW_HIDE);
  EXPECT_EQ(GetForegroundWindow(), shell);
  DestroyWindow(front);
  EXPECT_FALSE(SetForegroundWindow(front));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
}
