// The OSD window in this process with the real desktop and the generated
// pictures: where each kind stands for each taskbar edge and screen size, which
// picture each level rule picks, that a display without a picture shows nothing,
// and the bar's fill and ticks as the composed screen shows them.
#include <gtest/gtest.h>

#include "platform/desktop/sim/zorder.h"
#include "tests/osd/osd_support.h"
#include "tray/osd/osd_kind.h"
#include "tray/osd/osd_pictures.h"

using orv::desktop::Edge;
using osdtest::Desk;
using osdtest::Frame;
using osdtest::Picture;

namespace {

constexpr int kIcon = 1, kLevel = 2, kCenter = 3, kIcon2 = 4, kBar = 5, kIcon3 = 6;

struct PlaceCase {
  int sw, sh;
  Edge edge;
  int thickness;
  int kind, level, image, range;
  int x, y, w, h;
};

// Hides the window, composes; shows it again.
orv::gfx::Surface FrameWithout(HWND hwnd) {
  ShowWindow(hwnd, SW_HIDE);
  orv::gfx::Surface f = Frame();
  ShowWindow(hwnd, SW_SHOWNOACTIVATE);
  return f;
}

}  // namespace

TEST(OsdWindow, EachKindStandsBesideTheTaskbarForEveryEdgeAndScreen) {
  const PlaceCase cases[] = {
      // 1280 x 800, 30-pixel taskbar at the bottom, 120 x 120 icons.
      {1280, 800, Edge::Bottom, 30, kIcon, -1, 1, 0, 1145, 640, 120, 120},
      {1280, 800, Edge::Bottom, 30, kIcon2, -1, 3, 0, 1025, 640, 120, 120},
      {1280, 800, Edge::Bottom, 30, kIcon3, -1, 15, 0, 905, 640, 120, 120},
      {1280, 800, Edge::Bottom, 30, kLevel, 40, kPictureSetVolume, 0, 1145, 640, 120, 120},
      {1280, 800, Edge::Bottom, 30, kCenter, -1, 0, 0, 480, 300, 320, 200},
      {1280, 800, Edge::Bottom, 30, kBar, 50, kPictureSetVolume, 100, 390, 670, 500, 90},
      // Top and left count as no taskbar: 15 from the right, 44 above the bottom.
      {1280, 800, Edge::Top, 30, kIcon, -1, 1, 0, 1145, 636, 120, 120},
      {1280, 800, Edge::Left, 30, kIcon, -1, 1, 0, 1145, 636, 120, 120},
      {1280, 800, Edge::Left, 30, kIcon3, -1, 5, 0, 905, 636, 120, 120},
      {1280, 800, Edge::Top, 30, kBar, 3, kPictureSetBrightness, 8, 390, 666, 500, 90},
      {1280, 800, Edge::None, 30, kLevel, 4, kPictureSetBrightness, 0, 1145, 636, 120, 120},
      // A 60-pixel taskbar at the right.
      {1280, 800, Edge::Right, 60, kIcon, -1, 1, 0, 1095, 636, 120, 120},
      {1280, 800, Edge::Right, 60, kIcon2, -1, 7, 0, 975, 636, 120, 120},
      {1280, 800, Edge::Right, 60, kIcon3, -1, 17, 0, 855, 636, 120, 120},
      {1280, 800, Edge::Right, 60, kBar, 50, kPictureSetMutedVolume, 100, 390, 666, 500, 90},
      {1280, 800, Edge::Right, 60, kCenter, -1, 9, 0, 480, 300, 320, 200},
      // Odd sizes: the halvings truncate.
      {1023, 767, Edge::Bottom, 40, kIcon, -1, 1, 0, 888, 597, 120, 120},
      {1023, 767, Edge::Bottom, 40, kCenter, -1, 8, 0, 351, 283, 320, 200},
      {1023, 767, Edge::Bottom, 40, kBar, 1, kPictureSetVolume, 100, 261, 627, 500, 90},
      {1920, 1080, Edge::Right, 75, kIcon2, -1, 2, 0, 1600, 916, 120, 120},
  };
  for (const PlaceCase& c : cases) {
    Desk desk(c.sw, c.sh, c.edge, c.thickness);
    RECT r = desk.Display(c.kind, c.level, c.image, c.range);
    SCOPED_TRACE(::testing::Message() << c.sw << "x" << c.sh << " edge " << int(c.edge)
                                      << " kind " << c.kind);
    EXPECT_EQ(r.left, c.x);
    EXPECT_EQ(r.top, c.y);
    EXPECT_EQ(r.right - r.left, c.w);
    EXPECT_EQ(r.bottom - r.top, c.h);
    EXPECT_TRUE(orv::desktop::IsTopmost(desk.hwnd()));
  }
}

TEST(OsdWindow, LevelRulesPickTheirPictureAndEverythingElseShowsNothing) {
  EXPECT_EQ(OsdLevelPictureName(kPictureSetVolume, 0), "OSD\\Volume\\Volume_00.png");
  EXPECT_EQ(OsdLevelPictureName(kPictureSetVolume, 1), "OSD\\Volume\\Volume_00.png");
  EXPECT_EQ(OsdLevelPictureName(kPictureSetVolume, 99), "OSD\\Volume\\Volume_49.png");
  EXPECT_EQ(OsdLevelPictureName(kPictureSetVolume, 100), "OSD\\Volume\\Volume_50.png");
  EXPECT_EQ(OsdLevelPictureName(kPictureSetMutedVolume, 37), "OSD\\MuVolume\\MuVolume_18.png");
  EXPECT_EQ(OsdLevelPictureName(kPictureSetBrightness, 8), "OSD\\Brightness\\Brightness_08.png");

  Desk desk;
  struct Shown { int kind, level, image; const char* picture; };
  const Shown shown[] = {
      {kLevel, 1, kPictureSetVolume, "OSD/Volume/Volume_00.png"},
      {kLevel, 99, kPictureSetVolume, "OSD/Volume/Volume_49.png"},
      {kLevel, 100, kPictureSetMutedVolume, "OSD/MuVolume/MuVolume_50.png"},
      {kLevel, 0, kPictureSetBrightness, "OSD/Brightness/Brightness_00.png"},
      {kLevel, 8, kPictureSetBrightness, "OSD/Brightness/Brightness_08.png"},
      {kIcon, -1, 2, "ICON/Wireless_Disable.png"},
      {kIcon, -1, 18, "ICON/HDD_Disable.png"},
      {kCenter, -1, 5, "Center/ECO_Diable.png"},
      {kCenter, -1, 10, "Center/TheaterMode_Disable.png"},
  };
  for (const Shown& s : shown) {
    RECT r = desk.Display(s.kind, s.level, s.image);
    orv::gfx::Surface frame = Frame();
    std::string why;
    EXPECT_TRUE(osdtest::Shows(frame, FrameWithout(desk.hwnd()), Picture(s.picture), r.left,
                               r.top, &why))
        << s.picture << ": " << why;
  }

  // Nothing to show: the screen is as if the window were hidden, never the
  // previous picture.
  struct Nothing { int kind, level, image, range; };
  const Nothing nothing[] = {
      {kLevel, 101, kPictureSetVolume, 0}, {kLevel, -1, kPictureSetMutedVolume, 0},
      {kLevel, 9, kPictureSetBrightness, 0}, {kLevel, 4, 7, 0},
      {kCenter, -1, 6, 0}, {kCenter, -1, 11, 0}, {kIcon, -1, 13, 0}, {kIcon2, -1, 14, 0},
      {kIcon3, -1, 0, 0}, {kIcon, -1, 19, 0}, {0, -1, 1, 0}, {7, -1, 1, 0},
      {kBar, 50, 7, 100},
  };
  for (const Nothing& n : nothing) {
    desk.Display(kIcon, -1, 1);  // something to go stale
    desk.Display(n.kind, n.level, n.image, n.range);
    orv::gfx::Surface frame = Frame();
    EXPECT_TRUE(frame.pixels == FrameWithout(desk.hwnd()).pixels)
        << "kind " << n.kind << " level " << n.level << " image " << n.image;
  }
}

TEST(OsdWindow, BarFillAndTicksOnTheComposedScreen) {
  orv::gfx::Surface main = Picture("OEM/M_Main.png"), down = Picture("OEM/M_Down.png");
  ASSERT_FALSE(main.Empty());
  ASSERT_EQ(main.height, 90);
  struct BarCase { int range, level, filled; };  // filled: t, the filled length
  const BarCase cases[] = {{100, 0, 0},   {100, 1, 3},   {100, 50, 191}, {100, 99, 380},
                           {100, 100, 384}, {8, 4, 192}, {8, 8, 384},    {8, -3, 0}};
  Desk desk;
  for (const BarCase& c : cases) {
    SCOPED_TRACE(::testing::Message() << "range " << c.range << " level " << c.level);
    RECT r = desk.Display(kBar, c.level, kPictureSetVolume, c.range);
    orv::gfx::Surface frame = Frame(), hidden = FrameWithout(desk.hwnd());
    const int row = 50;  // the middle of the groove, where both pictures are opaque
    for (int x = 96; x < 480; ++x) {
      orv::gfx::Pixel got = frame.At(r.left + x, r.top + row);
      // The cap's rounded end stands in the 14 columns before the fill's end.
      if (c.filled > 0 && x >= 96 + c.filled - 14 && x < 96 + c.filled + 1 && c.filled < 383) continue;
      orv::gfx::Pixel want =
          x < 96 + c.filled ? orv::gfx::Over(main.At(x, row), down.At(x, row)) : main.At(x, row);
      ASSERT_EQ(got, want) << "column " << x;
    }
    const int tickRow = 72;
    int step = c.range == 100 ? 7 : 48;
    for (int x = 90; x < 490; ++x) {
      bool tick = x == 474 || (x >= 96 && x < 470 && (x - 96) % step == 0);
      orv::gfx::Pixel under = orv::gfx::Over(hidden.At(r.left + x, r.top + tickRow), main.At(x, tickRow));
      orv::gfx::Pixel want = tick ? orv::gfx::Over(under, orv::gfx::Premultiply(0xC8787878)) : under;
      ASSERT_EQ(frame.At(r.left + x, r.top + tickRow), want) << "tick column " << x;
    }
  }
}
