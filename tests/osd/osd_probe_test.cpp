// The OSD owner program run from a folder of its own: missing pictures show
// nothing, the screenshot tool gets the screen of a running desktop, and a few
// displays are checked on the written screenshot.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "platform/gfx/sim/png.h"
#include "tests/osd/osd_support.h"

namespace fs = std::filesystem;

namespace {

// A copy of osd-probe in a folder with only some of the pictures.
std::string ProbeWith(const std::string& folder, const std::vector<std::string>& pictures) {
  fs::create_directories(folder);
  fs::copy_file(orv::test::Program("osd-probe"), folder + "/osd-probe",
                fs::copy_options::overwrite_existing);
  for (const std::string& p : pictures) {
    fs::create_directories(fs::path(folder + "/Image/" + p).parent_path());
    fs::copy_file(orv::test::BinDir() + "/Image/" + p, folder + "/Image/" + p,
                  fs::copy_options::overwrite_existing);
  }
  return folder + "/osd-probe";
}

orv::gfx::Surface Load(const std::string& path) {
  orv::gfx::Surface s;
  EXPECT_EQ(orv::gfx::LoadPngFile(path, &s), orv::gfx::Ok) << path;
  return s;
}

}  // namespace

TEST(OsdProgram, MissingPicturesShowNothingAndPresentOnesShow) {
  orv::test::TempHome home;
  std::string probe = ProbeWith(home.path() + "/prog", {"ICON/Wireless_Enable.png", "OEM/M_Main.png",
                                                         "OEM/M_Down.png", "OEM/MI_Vol.png"});
  // Wireless is there; Bluetooth (kind Icon2) is not; the bar lacks its cap.
  auto run = orv::test::Run({probe, home.path() + "/shot.png", "1", "-1", "1", "0", "4", "-1",
                             "3", "0", "5", "50", "9", "100"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  auto empty = orv::test::Run({probe, home.path() + "/empty.png", "3", "-1", "6", "0"});
  ASSERT_EQ(empty.exitCode, 0) << empty.err;
  orv::gfx::Surface shot = Load(home.path() + "/shot.png"), bare = Load(home.path() + "/empty.png");
  ASSERT_EQ(shot.width, 1280);
  std::string why;
  EXPECT_TRUE(osdtest::Shows(shot, bare, osdtest::Picture("ICON/Wireless_Enable.png"), 1145, 640, &why))
      << why;
  // Everywhere else the screen is bare: no Bluetooth icon, no half bar.
  int differing = 0;
  for (int y = 0; y < shot.height; ++y)
    for (int x = 0; x < shot.width; ++x)
      if (!(x >= 1145 && x < 1265 && y >= 640 && y < 760) && shot.At(x, y) != bare.At(x, y)) ++differing;
  EXPECT_EQ(differing, 0);
}

using osdtest::Desk;

TEST(OsdProgram, ScreenshotToolAsksTheRunningDesktop) {
  orv::test::TempHome home;
  auto none = orv::test::Run({orv::test::Program("orv-desktop"), "screenshot", home.path() + "/x.png"});
  EXPECT_EQ(none.exitCode, 1);
  EXPECT_NE(none.err.find("no desktop is running"), std::string::npos);
  EXPECT_FALSE(fs::exists(home.path() + "/x.png"));

  // Showing a window of its own makes this process the desktop's owner, which
  // serves its screen without being asked.
  Desk desk(1024, 768, orv::desktop::Edge::Right, 48);
  desk.Display(3, -1, 7);
  auto got = orv::test::Run({orv::test::Program("orv-desktop"), "screenshot", home.path() + "/y.png"});
  ASSERT_EQ(got.exitCode, 0) << got.err;
  orv::gfx::Surface shot = Load(home.path() + "/y.png");
  ASSERT_EQ(shot.width, 1024);
  ASSERT_EQ(shot.height, 768);
  EXPECT_TRUE(shot.pixels == osdtest::Frame().pixels);
  // The taskbar stands at the right edge; the centre picture in the middle.
  EXPECT_NE(shot.At(1000, 10), shot.At(900, 10));
  std::string why;
  ShowWindow(desk.hwnd(), SW_HIDE);
  orv::gfx::Surface hidden = osdtest::Frame();
  EXPECT_TRUE(osdtest::Shows(shot, hidden, osdtest::Picture("Center/Turbo_Enable.png"), 352, 284, &why)) << why;
}
