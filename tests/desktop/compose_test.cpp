// The screen's kept frame, brought up to date by drawing only what changed, is
// the frame drawn from nothing after every kind of window change: moves,
// resizes, showing and hiding, restacking, shapes, DC drawing (with a DC held
// across frames), layered contents and blending, style changes, tray icons.
#include <gtest/gtest.h>

#include <windows.h>
#include <gdiplus.h>

#include <random>
#include <string>
#include <vector>

#include "platform/desktop/sim/compositor.h"
#include "platform/desktop/sim/screen.h"
#include "platform/desktop/sim/taskbar.h"
#include "platform/gfx/sim/gdi.h"
#include "tests/desktop/desktop_support.h"
#include "tests/support/process.h"
#include "tests/support/test_window.h"

namespace {

using orv::gfx::Pixel;
using orv::gfx::Surface;

// Layered contents of the window's size, in a colour of the seed, with a
// transparent hole and a half-transparent band.
bool GiveContents(HWND hwnd, std::mt19937& random, DWORD flags, BYTE constantAlpha) {
  RECT r;
  GetWindowRect(hwnd, &r);
  int w = r.right - r.left, h = r.bottom - r.top;
  Surface pixels(w, h, 0xFF000000u | (random() & 0xFFFFFF));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      if (x < w / 4 && y < h / 4) pixels.At(x, y) = 0;
      else if (y > h / 2) pixels.At(x, y) = 0x80402010u;
    }
  HDC memory = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = orv::gfx::CreateBitmapFromSurface(pixels);
  HGDIOBJ old = SelectObject(memory, bitmap);
  POINT source{0, 0}, place{r.left, r.top};
  SIZE size{w, h};
  BLENDFUNCTION blend{AC_SRC_OVER, 0, constantAlpha, static_cast<BYTE>((flags & ULW_ALPHA) ? AC_SRC_ALPHA : 0)};
  BOOL ok = UpdateLayeredWindow(hwnd, nullptr, &place, &size, memory, &source, 0x00102040, &blend, flags);
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  return ok != FALSE;
}

void Fill(HDC dc, Pixel colour, int x, int y, int w, int h) {
  Gdiplus::SolidBrush brush{Gdiplus::Color(0xFF000000u | colour)};
  Gdiplus::Graphics(dc).FillRectangle(&brush, x, y, w, h);
}

void Paint(HWND hwnd, Pixel colour) {
  HDC dc = GetDC(hwnd);
  Fill(dc, colour, 0, 0, 4000, 4000);
  ReleaseDC(hwnd, dc);
}

// The kept frame against the frame drawn from nothing; the first pixel that
// differs in the message.
::testing::AssertionResult SameAsWholeFrame(const std::string& step) {
  Surface kept, whole;
  orv::desktop::ComposeFrame(&kept);
  orv::desktop::ComposeWholeFrame(&whole);
  if (kept.width != whole.width || kept.height != whole.height)
    return ::testing::AssertionFailure() << step << ": frame sizes differ";
  if (kept.pixels == whole.pixels) return ::testing::AssertionSuccess();
  for (int y = 0; y < whole.height; ++y)
    for (int x = 0; x < whole.width; ++x)
      if (kept.At(x, y) != whole.At(x, y))
        return ::testing::AssertionFailure() << step << ": pixel (" << x << ", " << y << ") is " << std::hex
                                             << kept.At(x, y) << ", drawn from nothing " << whole.At(x, y);
  return ::testing::AssertionSuccess();
}

}  // namespace

TEST(DesktopCompose, TheKeptFrameDrawsOnlyWhatChangedAndEqualsTheFrameDrawnFromNothing) {
  orv::test::TempHome home;
  ULONG_PTR token = 0;
  Gdiplus::GdiplusStartupInput input;
  ASSERT_EQ(Gdiplus::GdiplusStartup(&token, &input, nullptr), Gdiplus::Ok);
  orv::desktop::SetConfig({1280, 800, orv::desktop::Edge::Bottom, 30});
  std::mt19937 random(20261209);
  std::vector<HWND> plain, layered;
  for (int i = 0; i < 3; ++i) {
    plain.push_back(desktoptest::ShowPlainWindow(RECT{100 + 150 * i, 100, 300 + 150 * i, 260}));
    HWND l = orv::test::CreateTestWindow(DefWindowProcA, "", WS_POPUP, RECT{600, 200 + 120 * i, 760, 330 + 120 * i});
    ASSERT_NE(l, nullptr);
    SetWindowLongPtrA(l, GWL_EXSTYLE, GetWindowLongPtrA(l, GWL_EXSTYLE) | WS_EX_LAYERED);
    ShowWindow(l, SW_SHOWNA);
    layered.push_back(l);
  }
  ASSERT_TRUE(SameAsWholeFrame("the first frame"));
  for (HWND l : layered) ASSERT_TRUE(GiveContents(l, random, ULW_ALPHA, 255));
  ASSERT_TRUE(SameAsWholeFrame("first layered contents"));

  // One small window's new contents draw a small part of the screen.
  ASSERT_TRUE(GiveContents(layered[0], random, ULW_ALPHA, 255));
  Surface frame;
  orv::desktop::ComposeFrame(&frame);
  orv::desktop::ComposeStats stats = orv::desktop::CurrentComposeStats();
  EXPECT_EQ(stats.lastPixels, 160 * 130) << "only the window's rectangle is drawn";
  ASSERT_TRUE(SameAsWholeFrame("one window's new contents"));

  // A DC held across frames: what is drawn through it shows in each frame.
  HDC held = GetDC(plain[1]);
  ASSERT_TRUE(SameAsWholeFrame("a DC taken"));
  Fill(held, 0x00C800, 10, 10, 50, 50);
  ASSERT_TRUE(SameAsWholeFrame("drawn through a held DC"));
  Fill(held, 0x0000C8, 20, 20, 50, 50);
  ReleaseDC(plain[1], held);
  ASSERT_TRUE(SameAsWholeFrame("the held DC given back"));

  std::vector<HWND> all = plain;
  all.insert(all.end(), layered.begin(), layered.end());
  const HWND after[] = {HWND_TOP, HWND_BOTTOM, HWND_TOPMOST, HWND_NOTOPMOST};
  for (int step = 0; step < 200; ++step) {
    HWND w = all[random() % all.size()];
    bool isLayered = (GetWindowLongPtrA(w, GWL_EXSTYLE) & WS_EX_LAYERED) != 0;
    std::string what;
    switch (random() % 10) {
      case 0:
        what = "move";
        SetWindowPos(w, nullptr, static_cast<int>(random() % 1300) - 60, static_cast<int>(random() % 820) - 60, 0, 0,
                     SWP_NOZORDER | SWP_NOSIZE | SWP_NOACTIVATE);
        break;
      case 1:
        what = "resize";
        SetWindowPos(w, nullptr, 0, 0, 20 + static_cast<int>(random() % 300), 20 + static_cast<int>(random() % 200),
                     SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
        break;
      case 2:
        what = "show or hide";
        ShowWindow(w, IsWindowVisible(w) ? SW_HIDE : SW_SHOWNA);
        break;
      case 3:
        what = "restack";
        SetWindowPos(w, after[random() % 4], 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        break;
      case 4:
        what = "shape";
        if (random() % 3 == 0) {
          SetWindowRgn(w, nullptr, TRUE);
        } else {
          int a = static_cast<int>(random() % 80), b = static_cast<int>(random() % 80);
          SetWindowRgn(w, CreateRectRgn(a, b, a + 20 + static_cast<int>(random() % 100), b + 30), TRUE);
        }
        break;
      case 5:
        what = "paint";
        Paint(w, random());
        break;
      case 6: {
        what = "layered contents";
        if (!isLayered) break;
        DWORD flags = random() % 3 == 0 ? ULW_COLORKEY : ULW_ALPHA;
        GiveContents(w, random, flags, static_cast<BYTE>(random() % 2 ? 255 : 128));
        break;
      }
      case 7:
        what = "layered style";
        if (random() % 4 == 0)
          SetWindowLongPtrA(w, GWL_EXSTYLE, GetWindowLongPtrA(w, GWL_EXSTYLE) ^ WS_EX_LAYERED);
        break;
      case 8: {
        what = "tray icon";
        unsigned id = 1 + random() % 3;
        if (random() % 3 == 0)
          orv::desktop::RemoveNotifyIcon(w, id);
        else
          orv::desktop::SetNotifyIcon(w, id, Surface(16, 16, 0xFF000000u | (random() & 0xFFFFFF)), "tip");
        break;
      }
      default:
        what = "nothing";
        break;
    }
    ASSERT_TRUE(SameAsWholeFrame("step " + std::to_string(step) + " (" + what + ")"));
  }
  stats = orv::desktop::CurrentComposeStats();
  EXPECT_GT(stats.partFrames, stats.wholeFrames) << "most frames drew only what changed";

  // A new screen set-up is drawn whole.
  orv::desktop::SetConfig({1024, 768, orv::desktop::Edge::Right, 60});
  ASSERT_TRUE(SameAsWholeFrame("a new screen set-up"));
  EXPECT_EQ(orv::desktop::CurrentComposeStats().wholeFrames, stats.wholeFrames + 1);
  for (HWND w : all) {
    for (unsigned id = 1; id <= 3; ++id) orv::desktop::RemoveNotifyIcon(w, id);
    DestroyWindow(w);
  }
  ASSERT_TRUE(SameAsWholeFrame("every window gone"));
  Gdiplus::GdiplusShutdown(token);
}
