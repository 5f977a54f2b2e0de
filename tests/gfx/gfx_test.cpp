// The drawing layer: PNG round trips and clean failures, blending with per-pixel
// and constant alpha, drawing parts of pictures, memory DCs with Win32's
// ownership rules, regions, and resources linked into the program.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <vector>

#include <windows.h>
#include <gdiplus.h>

#include "platform/gfx/sim/gdi.h"
#include "platform/gfx/sim/png.h"
#include "platform/home/sim/home.h"
#include "tests/support/process.h"

using namespace Gdiplus;
using namespace orv::gfx;  // the PNG files and pixel arithmetic behind the pictures

namespace {

struct Started {
  Started() { GdiplusStartup(&token, &input, nullptr); }
  ~Started() { GdiplusShutdown(token); }
  GdiplusStartupInput input;
  ULONG_PTR token = 0;
};

Surface Checker(int w, int h) {
  Surface s(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      s.At(x, y) = Premultiply(((x + y) % 2 ? 0x80FF0000u : 0xFF00FF00u) + static_cast<unsigned>(x));
  return s;
}

std::string Write(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                              static_cast<std::streamsize>(bytes.size()));
  return path;
}

}  // namespace

TEST(Png, RoundTripsAndFailsCleanlyOnMissingOrDamagedFiles) {
  orv::test::TempHome home;
  Surface picture = Checker(37, 11);
  ASSERT_EQ(SavePngFile(home.path() + "/a.png", picture), Ok);
  Surface back;
  ASSERT_EQ(LoadPngFile(home.path() + "/a.png", &back), Ok);
  ASSERT_EQ(back.width, 37);
  ASSERT_EQ(back.height, 11);
  for (std::size_t i = 0; i < picture.pixels.size(); ++i)
    ASSERT_EQ(Unpremultiply(back.pixels[i]), Unpremultiply(picture.pixels[i])) << i;

  std::vector<std::uint8_t> bytes;
  ASSERT_EQ(EncodePng(picture, &bytes), Ok);
  Surface untouched(2, 2, 0xFF123456);
  const Surface before = untouched;
  EXPECT_EQ(LoadPngFile(home.path() + "/none.png", &untouched), FileNotFound);
  for (std::size_t cut : {std::size_t(0), std::size_t(8), std::size_t(40), bytes.size() - 13}) {
    std::vector<std::uint8_t> part(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(cut));
    EXPECT_EQ(LoadPngFile(Write(home.path() + "/cut.png", part), &untouched), UnknownImageFormat) << cut;
  }
  std::vector<std::uint8_t> flipped = bytes;
  flipped[bytes.size() / 2] ^= 0x5A;  // damages the compressed data (its check sum)
  EXPECT_NE(LoadPngFile(Write(home.path() + "/bad.png", flipped), &untouched), Ok);
  EXPECT_NE(LoadPngFile(home.path(), &untouched), Ok);  // a folder
  EXPECT_TRUE(untouched.pixels == before.pixels) << "a failed load changed the output";
  EXPECT_EQ(SavePngFile(home.path() + "/no/such/folder/a.png", picture), AccessDenied);
  EXPECT_EQ(SavePngFile(home.path() + "/e.png", Surface()), InvalidParameter);
}

TEST(Blend, SourceOverWithPerPixelAndConstantAlpha) {
  EXPECT_EQ(Over(0xFF0000FF, 0xFFFF0000), 0xFFFF0000u);        // opaque covers
  EXPECT_EQ(Over(0xFF0000FF, 0x00000000), 0xFF0000FFu);        // transparent keeps
  EXPECT_EQ(Over(0xFF000000, Premultiply(0x80FFFFFF)), 0xFF808080u);
  EXPECT_EQ(Over(0xFF000000, 0xFFFFFFFF, 128), 0xFF808080u);   // constant alpha halves
  EXPECT_EQ(Over(0x00000000, Premultiply(0x80FF0000), 128), 0x40400000u);
  EXPECT_EQ(Unpremultiply(Premultiply(0x80402010)), 0x80402010u);
  EXPECT_EQ(Premultiply(0x00FFFFFF), 0u);

  Surface dst(4, 4, 0xFF000000);
  Surface src(2, 2, 0xFFFFFFFF);
  BlendRect(dst, 3, 3, src, 0, 0, 2, 2);  // clipped to one pixel
  EXPECT_EQ(dst.At(3, 3), 0xFFFFFFFFu);
  EXPECT_EQ(dst.At(2, 2), 0xFF000000u);
  BlendRect(dst, -1, -1, src, 0, 0, 2, 2, 0);  // constant alpha 0 draws nothing
  EXPECT_EQ(dst.At(0, 0), 0xFF000000u);
  FillRect(dst, 1, 0, 1000000000, 1, 0xFF00FF00);  // huge sizes clip, no overflow
  EXPECT_EQ(dst.At(3, 0), 0xFF00FF00u);
  EXPECT_EQ(dst.At(0, 0), 0xFF000000u);
}

TEST(Graphics, DrawsWholePicturesPartsAndScaledPicturesAndNeedsStartup) {
  Bitmap early(4, 4);
  EXPECT_EQ(early.GetLastStatus(), GdiplusNotInitialized);
  Started started;
  orv::test::TempHome home;
  Surface strip(4, 1);
  for (int x = 0; x < 4; ++x) strip.At(x, 0) = 0xFF000000u | static_cast<unsigned>(x + 1);
  // Pictures are opened by their Windows path: drive C: is drive_c in the state folder.
  orv::home::MakeDirs(home.path() + "/drive_c");
  ASSERT_EQ(SavePngFile(home.path() + "/drive_c/strip.png", strip), Ok);
  std::unique_ptr<Image> image(Image::FromFile(u"C:\\strip.png"));
  ASSERT_EQ(image->GetLastStatus(), Ok);
  ASSERT_EQ(image->GetWidth(), 4u);

  Bitmap canvas(10, 3);
  Graphics g(&canvas);
  EXPECT_EQ(g.DrawImage(image.get(), 0, 0), Ok);
  // Part of the picture: columns 2..3 at x = 5, and a source running past the
  // picture's edge draws only what exists.
  EXPECT_EQ(g.DrawImage(image.get(), Rect(5, 1, 2, 1), 2, 0, 2, 1, UnitPixel), Ok);
  EXPECT_EQ(g.DrawImage(image.get(), Rect(7, 2, 3, 1), 2, 0, 3, 1, UnitPixel), Ok);
  // Scaled: 4 pixels into 8.
  Bitmap wide(8, 1);
  Graphics(&wide).DrawImage(image.get(), 0, 0, 8, 1);
  Color c;
  auto blue = [&](const Bitmap& b, int x, int y) {
    b.GetPixel(x, y, &c);
    return static_cast<int>(c.GetValue() & 0xFF);
  };
  EXPECT_EQ(blue(canvas, 0, 0), 1);
  EXPECT_EQ(blue(canvas, 3, 0), 4);
  EXPECT_EQ(blue(canvas, 5, 1), 3);
  EXPECT_EQ(blue(canvas, 6, 1), 4);
  EXPECT_EQ(blue(canvas, 8, 2), 4);
  canvas.GetPixel(9, 2, &c);
  EXPECT_EQ(c.GetA(), 0);  // past the picture: nothing drawn
  EXPECT_EQ(blue(wide, 0, 0), 1);
  EXPECT_EQ(blue(wide, 1, 0), 1);
  EXPECT_EQ(blue(wide, 7, 0), 4);

  SolidBrush brush(Color(0xC8787878));
  EXPECT_EQ(g.FillRectangle(&brush, 0, 0, 1, 1), Ok);
  canvas.GetPixel(0, 0, &c);
  EXPECT_EQ(c.GetA(), 0xFF);  // opaque under it stays opaque

  std::unique_ptr<Image> missing(Image::FromFile(u"C:\\no\\such\\picture.png"));
  EXPECT_NE(missing->GetLastStatus(), Ok);
  EXPECT_EQ(missing->GetWidth(), 0u);
  EXPECT_EQ(g.DrawImage(missing.get(), 0, 0), InvalidParameter);
  std::ofstream(home.path() + "/drive_c/junk.png") << "not a png";
  std::unique_ptr<Bitmap> junk(Bitmap::FromFile(u"C:\\junk.png"));
  EXPECT_EQ(junk->GetLastStatus(), UnknownImageFormat);
  EXPECT_EQ(junk->GetLastStatus(), Ok) << "reading the status resets it";
  HBITMAP none = reinterpret_cast<HBITMAP>(1);
  EXPECT_NE(junk->GetHBITMAP(Color(0xFF000000), &none), Ok);
  EXPECT_EQ(none, nullptr);
  EXPECT_EQ(junk->GetLastStatus(), InvalidParameter) << "the failed call is remembered";
}

TEST(MemoryDc, SelectCopyAndWin32OwnershipRules) {
  Started started;
  int live = LiveGdiObjects();
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(dc, 8, 4);
  ASSERT_TRUE(dc && bitmap);
  HGDIOBJ old = SelectObject(dc, bitmap);
  ASSERT_NE(old, nullptr);
  EXPECT_EQ(DeleteObject(bitmap), FALSE);  // still selected: refused, stays alive
  HDC other = CreateCompatibleDC(dc);
  EXPECT_EQ(SelectObject(other, bitmap), nullptr);  // one DC at a time

  Graphics g(dc);
  SolidBrush red(Color(0xFFFF0000));
  g.FillRectangle(&red, 2, 1, 3, 2);
  EXPECT_EQ(GetPixel(dc, 2, 1), 0x000000FFu);  // COLORREF is 0x00BBGGRR
  EXPECT_EQ(GetPixel(dc, 1, 1), 0u);
  EXPECT_EQ(GetPixel(dc, 8, 0), CLR_INVALID);

  HBITMAP copy = CreateCompatibleBitmap(other, 8, 4);
  HGDIOBJ otherOld = SelectObject(other, copy);
  EXPECT_EQ(BitBlt(other, 1, 0, 8, 4, dc, 0, 0, SRCCOPY), TRUE);
  EXPECT_EQ(GetPixel(other, 3, 1), 0x000000FFu);
  EXPECT_EQ(BitBlt(other, 0, 0, 8, 4, dc, 0, 0, 0x00EE0086), FALSE);  // only SRCCOPY
  SetWindowOrgEx(other, 10, 10, nullptr);
  EXPECT_EQ(GetPixel(other, 13, 11), 0x000000FFu);  // logical origin moved

  BITMAP info;
  EXPECT_EQ(GetObjectA(copy, 0, nullptr), static_cast<int>(sizeof info));
  EXPECT_EQ(GetObjectA(copy, sizeof info, &info), static_cast<int>(sizeof info));
  EXPECT_EQ(info.bmBitsPixel, 32);
  EXPECT_EQ(info.bmWidth, 8);
  std::vector<std::uint8_t> bits(8 * 4 * 4);
  EXPECT_EQ(GetBitmapBits(copy, static_cast<LONG>(bits.size()), bits.data()), 128);
  EXPECT_EQ(bits[(1 * 8 + 3) * 4 + 2], 0xFF);  // red byte of B, G, R, A

  SelectObject(other, otherOld);
  SelectObject(dc, old);
  EXPECT_EQ(DeleteObject(bitmap), TRUE);
  EXPECT_EQ(DeleteObject(bitmap), FALSE);  // a stale handle fails, no crash
  EXPECT_EQ(SelectObject(dc, bitmap), nullptr);
  EXPECT_EQ(DeleteObject(copy), TRUE);
  EXPECT_EQ(DeleteDC(dc), TRUE);
  EXPECT_EQ(DeleteDC(other), TRUE);
  EXPECT_EQ(DeleteDC(dc), FALSE);
  EXPECT_EQ(CreateCompatibleBitmap(nullptr, 0, 5), nullptr);
  EXPECT_EQ(CreateCompatibleBitmap(nullptr, 100000, 100000), nullptr);
  EXPECT_EQ(LiveGdiObjects(), live);
}

TEST(Region, RectanglesFromRegionDataAndBadData) {
  std::vector<char> buffer(sizeof(RGNDATAHEADER) + 2 * sizeof(RECT));
  RGNDATAHEADER header{sizeof(RGNDATAHEADER), RDH_RECTANGLES, 2, 0, {0, 0, 0, 0}};
  RECT rects[2] = {{2, 0, 5, 1}, {0, 1, 7, 2}};
  std::memcpy(buffer.data(), &header, sizeof header);
  std::memcpy(buffer.data() + sizeof header, rects, sizeof rects);
  auto* data = reinterpret_cast<const RGNDATA*>(buffer.data());
  HRGN region = ExtCreateRegion(nullptr, static_cast<DWORD>(buffer.size()), data);
  ASSERT_NE(region, nullptr);
  EXPECT_TRUE(PtInRegion(region, 2, 0));
  EXPECT_FALSE(PtInRegion(region, 1, 0));
  EXPECT_TRUE(PtInRegion(region, 6, 1));
  EXPECT_FALSE(PtInRegion(region, 7, 1));
  RECT box;
  EXPECT_EQ(GetRgnBox(region, &box), COMPLEXREGION);
  EXPECT_EQ(box.right, 7);
  EXPECT_EQ(box.bottom, 2);
  // A count larger than the data holds is refused, not read past the end.
  EXPECT_EQ(ExtCreateRegion(nullptr, static_cast<DWORD>(buffer.size() - 1), data), nullptr);
  EXPECT_TRUE(DeleteObject(region));
  EXPECT_EQ(GetRgnBox(region, &box), RGN_ERROR);
}

TEST(Region, CombinationsKeepTheirPointsAndMergeIntoRectangles) {
  // Two overlapping squares: a (0, 0)-(4, 4) and b (2, 2)-(6, 6).
  HRGN a = CreateRectRgn(0, 0, 4, 4), b = CreateRectRgn(6, 6, 2, 2);  // corners in any order
  HRGN out = CreateRectRgn(0, 0, 0, 0);
  RECT box;
  EXPECT_EQ(GetRgnBox(out, &box), NULLREGION);
  struct Probe { int x, y; };
  const Probe probes[] = {{0, 0}, {3, 3}, {2, 2}, {5, 5}, {1, 5}, {5, 1}, {4, 4}, {6, 6}};
  struct Case { int mode, kind; bool inside[8]; };
  const Case cases[] = {
      {RGN_AND, SIMPLEREGION, {false, true, true, false, false, false, false, false}},
      {RGN_OR, COMPLEXREGION, {true, true, true, true, false, false, true, false}},
      {RGN_DIFF, COMPLEXREGION, {true, false, false, false, false, false, false, false}},
      {RGN_XOR, COMPLEXREGION, {true, false, false, true, false, false, true, false}},
      {RGN_COPY, SIMPLEREGION, {true, true, true, false, false, false, false, false}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "mode " << c.mode);
    EXPECT_EQ(CombineRgn(out, a, b, c.mode), c.kind);
    for (std::size_t i = 0; i < 8; ++i)
      EXPECT_EQ(PtInRegion(out, probes[i].x, probes[i].y) != FALSE, c.inside[i])
          << "(" << probes[i].x << ", " << probes[i].y << ")";
  }
  // Side by side, two rectangles make one; a region can be its own source.
  HRGN right = CreateRectRgn(4, 0, 8, 4);
  EXPECT_EQ(CombineRgn(a, a, right, RGN_OR), SIMPLEREGION);
  EXPECT_EQ(GetRgnBox(a, &box), SIMPLEREGION);
  EXPECT_EQ(box.right, 8);
  EXPECT_EQ(CombineRgn(a, a, a, RGN_DIFF), NULLREGION);
  EXPECT_EQ(OffsetRgn(b, 10, 0), SIMPLEREGION);
  EXPECT_TRUE(PtInRegion(b, 12, 2));
  EXPECT_EQ(CombineRgn(out, a, b, 0), RGN_ERROR);
  EXPECT_EQ(CombineRgn(out, a, nullptr, RGN_OR), RGN_ERROR);
  int live = LiveGdiObjects();
  for (HRGN r : {a, b, out, right}) EXPECT_TRUE(DeleteObject(r));
  EXPECT_EQ(LiveGdiObjects(), live - 4);
}

TEST(Resource, EmbeddedPictureIsFoundAndDecoded) {
  HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(901), "PNG");
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(FindResourceA(nullptr, MAKEINTRESOURCEA(901), "BITMAP"), nullptr);
  EXPECT_EQ(FindResourceA(nullptr, MAKEINTRESOURCEA(902), "PNG"), nullptr);
  const void* bytes = LockResource(LoadResource(nullptr, found));
  Surface face;
  ASSERT_EQ(DecodePng(bytes, SizeofResource(nullptr, found), &face), Ok);
  EXPECT_EQ(face.width, 13);
  EXPECT_EQ(face.height, 32);
}
