// Text on the simulated DCs: the dialog font's measures (dialog units rest on
// them), TextOut in the DC's colours and background mode, and DrawText's
// alignment, line breaking (CJK included) and measuring.
#include <gtest/gtest.h>

#include <windows.h>

#include "platform/gfx/sim/font.h"
#include "platform/gfx/sim/gdi.h"

namespace {

// A memory DC on a w x h white bitmap; both released at the end.
struct Canvas {
  Canvas(int w, int h) : dc(CreateCompatibleDC(nullptr)), bitmap(CreateCompatibleBitmap(dc, w, h)) {
    old = SelectObject(dc, bitmap);
    orv::gfx::Surface* s = orv::gfx::DcSurface(dc);
    std::fill(s->pixels.begin(), s->pixels.end(), 0xFFFFFFFFu);
  }
  ~Canvas() {
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
  }
  // Pixels in the rectangle that are not white.
  int Inked(int x0, int y0, int x1, int y1) const {
    const orv::gfx::Surface* s = orv::gfx::DcSurface(dc);
    int n = 0;
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x) n += s->At(x, y) != 0xFFFFFFFFu;
    return n;
  }
  HDC dc;
  HBITMAP bitmap;
  HGDIOBJ old;
};

TEST(Text, TheDialogFontHasTheClassicCellAndDrawsCjkWithItsSecondFace) {
  ASSERT_TRUE(orv::gfx::FontsAvailable()) << "the font packages of scripts/deps.txt are missing";
  const orv::gfx::FontMetrics m = orv::gfx::MeasureFont({orv::gfx::PointsToPixels(8), false});
  EXPECT_EQ(m.averageWidth, 6);
  EXPECT_EQ(m.height, 13);

  Canvas c(200, 40);
  SIZE latin{}, cjk{};
  ASSERT_TRUE(GetTextExtentPoint32A(c.dc, "Calvex", 6, &latin));
  ASSERT_TRUE(GetTextExtentPoint32A(c.dc, "自訂按鍵", 12, &cjk));  // four characters, 12 bytes
  EXPECT_EQ(latin.cy, 13);
  EXPECT_GT(latin.cx, 20);
  EXPECT_GT(cjk.cx, 30) << "the CJK characters have no width";
  SetBkMode(c.dc, TRANSPARENT);
  ASSERT_TRUE(TextOutA(c.dc, 2, 2, "自訂按鍵", 12));
  EXPECT_GT(c.Inked(2, 2, 2 + cjk.cx, 15), 40);
  EXPECT_EQ(c.Inked(2 + cjk.cx + 2, 0, 200, 40), 0) << "drawn beyond its extent";
}

TEST(Text, TextOutUsesTheColoursAndTheBackgroundMode) {
  Canvas c(100, 20);
  EXPECT_EQ(SetTextColor(c.dc, RGB(255, 0, 0)), RGB(0, 0, 0));
  EXPECT_EQ(SetBkMode(c.dc, TRANSPARENT), OPAQUE);
  EXPECT_EQ(SetBkMode(c.dc, 7), 0) << "not a mode";
  ASSERT_TRUE(TextOutA(c.dc, 0, 0, "H", 1));
  const orv::gfx::Surface* s = orv::gfx::DcSurface(c.dc);
  bool red = false;
  for (orv::gfx::Pixel p : s->pixels) red = red || p == 0xFFFF0000u;
  EXPECT_TRUE(red) << "no pixel in the text colour";
  EXPECT_EQ(s->At(12, 10), 0xFFFFFFFFu) << "a transparent background was filled";

  SetBkMode(c.dc, OPAQUE);
  SetBkColor(c.dc, RGB(0, 0, 255));
  ASSERT_TRUE(TextOutA(c.dc, 40, 0, "H", 1));
  EXPECT_EQ(s->At(40, 12), 0xFF0000FFu) << "the opaque background is not filled";
  EXPECT_FALSE(TextOutA(nullptr, 0, 0, "H", 1));
}

TEST(Text, DrawTextBreaksLinesAlignsAndMeasures) {
  Canvas c(120, 80);
  SetBkMode(c.dc, TRANSPARENT);
  RECT r{0, 0, 60, 0};
  const char* text = "one two three four";
  SIZE whole{};
  GetTextExtentPoint32A(c.dc, text, 18, &whole);
  ASSERT_GT(whole.cx, 60);
  const int height = DrawTextA(c.dc, text, -1, &r, DT_WORDBREAK | DT_CALCRECT);
  EXPECT_GE(height, 26) << "the words were not broken into lines";
  EXPECT_EQ(height % 13, 0);
  EXPECT_EQ(r.bottom, height);
  EXPECT_EQ(c.Inked(0, 0, 120, 80), 0) << "DT_CALCRECT drew";

  RECT one{0, 0, 120, 13};
  EXPECT_EQ(DrawTextA(c.dc, "&OK", -1, &one, DT_SINGLELINE | DT_CALCRECT), 13);
  SIZE ok{};
  GetTextExtentPoint32A(c.dc, "OK", 2, &ok);
  EXPECT_EQ(one.right, ok.cx) << "the mnemonic mark is not drawn";

  // Centred: as much room on the left as on the right.
  RECT box{0, 40, 120, 53};
  DrawTextA(c.dc, "OK", 2, &box, DT_CENTER | DT_SINGLELINE | DT_VCENTER);
  int left = 0, right = 119;
  while (left < 120 && c.Inked(left, 40, left + 1, 53) == 0) ++left;
  while (right > 0 && c.Inked(right, 40, right + 1, 53) == 0) --right;
  EXPECT_NEAR(left, 119 - right, 2);

  RECT cjk{0, 0, 30, 0};
  EXPECT_EQ(DrawTextA(c.dc, "自訂按鍵", -1, &cjk, DT_WORDBREAK | DT_CALCRECT), 26) << "CJK text breaks between characters";
}

}  // namespace
