// The HDD dialog's window shape from its picture, and the picture calls it
// rests on: a bitmap resource read into the screen's format, its pixels read
// back as device-independent rows, and a PNG read from a stream over global
// memory.
#include <gtest/gtest.h>
#include <windows.h>
#include <gdiplus.h>

#include <cstring>
#include <vector>

#include "platform/base/unique_com.h"
#include "platform/base/unique_handle.h"
#include "platform/gfx/sim/gdi.h"
#include "platform/gfx/sim/png.h"
#include "tests/support/process.h"
#include "tray/dialogs/RegionFromBitmap.h"

namespace {

namespace gfx = orv::gfx;

constexpr gfx::Pixel G = 0xFF00FF00, X = 0xFF2050A0;

HBITMAP Picture(const std::vector<std::vector<gfx::Pixel>>& rows) {
  gfx::Surface s(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()));
  for (int y = 0; y < s.height; ++y)
    for (int x = 0; x < s.width; ++x) s.At(x, y) = rows[y][x];
  return gfx::CreateBitmapFromSurface(std::move(s));
}

TEST(HddShape, TheShapeLeavesOutEveryKeyPixelRowByRowAndARunReachingTheRightEdgeKeepsItsLastPixel) {
  orv::test::TempHome home;  // the screen's DC reads the desktop's set-up
  const std::vector<std::vector<gfx::Pixel>> rows = {
      {G, G, X, X, X},  // a run to the right edge
      {X, G, X, G, X},  // three runs, the last one pixel at the edge
      {G, G, G, G, G},  // nothing
      {X, X, X, X, X},  // the whole row
      {G, X, X, G, G},
  };
  orv::unique_hbitmap bitmap(Picture(rows));
  int w = 0, h = 0;
  orv::unique_hrgn shape(RegionFromBitmap(bitmap.get(), RGB(0, 255, 0), &w, &h));
  ASSERT_TRUE(shape);
  EXPECT_EQ(w, 5);
  EXPECT_EQ(h, 5);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      EXPECT_EQ(PtInRegion(shape.get(), x, y) != FALSE, rows[y][x] != G) << "pixel " << x << ", " << y;
  RECT box;
  EXPECT_EQ(GetRgnBox(shape.get(), &box), COMPLEXREGION);
  EXPECT_EQ(box.left, 0);
  EXPECT_EQ(box.right, 5);
  EXPECT_EQ(box.bottom, 5);

  // An all-key picture has an empty shape; a handle that is no bitmap has none.
  orv::unique_hbitmap green(Picture({{G, G}, {G, G}}));
  orv::unique_hrgn none(RegionFromBitmap(green.get(), RGB(0, 255, 0), &w, &h));
  ASSERT_TRUE(none);
  EXPECT_EQ(GetRgnBox(none.get(), &box), NULLREGION);
  EXPECT_EQ(RegionFromBitmap(nullptr, RGB(0, 255, 0), &w, &h), nullptr);
}

TEST(HddShape, DibitsGiveTheHeaderThenBottomUpRowsIn32And24Bits) {
  orv::test::TempHome home;  // the screen's DC reads the desktop's set-up
  orv::unique_hbitmap bitmap(Picture({{0xFF112233, 0xFF445566, 0xFF778899}, {0xFFAABBCC, 0xFFDDEEFF, 0xFF000000}}));
  orv::unique_window_dc screen(nullptr);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  ASSERT_NE(GetDIBits(screen.get(), bitmap.get(), 0, 2, nullptr, &info, DIB_RGB_COLORS), 0);
  EXPECT_EQ(info.bmiHeader.biWidth, 3);
  EXPECT_EQ(info.bmiHeader.biHeight, 2);
  EXPECT_EQ(info.bmiHeader.biBitCount, 32);
  std::vector<BYTE> rows32(3 * 4 * 2);
  ASSERT_EQ(GetDIBits(screen.get(), bitmap.get(), 0, 2, rows32.data(), &info, DIB_RGB_COLORS), 2);
  EXPECT_EQ(rows32[0], 0xCC);  // the bottom row first, B, G, R
  EXPECT_EQ(rows32[2], 0xAA);
  EXPECT_EQ(rows32[12], 0x33);
  info.bmiHeader.biBitCount = 24;
  std::vector<BYTE> rows24(12 * 2);  // 9 bytes padded to 12
  ASSERT_EQ(GetDIBits(screen.get(), bitmap.get(), 0, 2, rows24.data(), &info, DIB_RGB_COLORS), 2);
  EXPECT_EQ(rows24[3], 0xFF);
  EXPECT_EQ(rows24[5], 0xDD);
  EXPECT_EQ(rows24[9], 0x00);
  EXPECT_EQ(rows24[12], 0x33);
  EXPECT_EQ(rows24[15], 0x66);
}

TEST(HddShape, APngReadsFromAStreamOverAMovableBlockThatOutlivesTheStream) {
  ULONG_PTR token = 0;
  Gdiplus::GdiplusStartupInput input;
  ASSERT_EQ(Gdiplus::GdiplusStartup(&token, &input, nullptr), Gdiplus::Ok);
  gfx::Surface face(4, 3, 0xFF3366CC);
  std::vector<std::uint8_t> png;
  ASSERT_EQ(gfx::EncodePng(face, &png), gfx::Ok);
  orv::unique_hglobal block(GlobalAlloc(GMEM_MOVEABLE, png.size()));
  ASSERT_TRUE(block);
  std::memcpy(GlobalLock(block.get()), png.data(), png.size());
  {
    orv::com_ptr<IStream> stream;
    ASSERT_EQ(CreateStreamOnHGlobal(block.get(), FALSE, stream.put()), S_OK);
    Gdiplus::Bitmap* picture = Gdiplus::Bitmap::FromStream(stream.get());
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->GetLastStatus(), Gdiplus::Ok);
    EXPECT_EQ(picture->GetWidth(), 4u);
    EXPECT_EQ(picture->GetHeight(), 3u);
    delete picture;
  }
  EXPECT_FALSE(GlobalUnlock(block.get()));  // its one lock gone
  EXPECT_EQ(GlobalSize(block.get()), png.size());
  // Damaged bytes give a picture that says so.
  std::memset(GlobalLock(block.get()), 0, 8);
  GlobalUnlock(block.get());
  orv::com_ptr<IStream> stream;
  ASSERT_EQ(CreateStreamOnHGlobal(block.get(), FALSE, stream.put()), S_OK);
  Gdiplus::Bitmap damaged(stream.get());
  EXPECT_EQ(damaged.GetLastStatus(), Gdiplus::UnknownImageFormat);
  Gdiplus::GdiplusShutdown(token);
}

}  // namespace
