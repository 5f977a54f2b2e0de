// The switchable hard disk end to end: the HDD key's shaped dialog in both
// languages with its picture buttons, the exchange with the main window after
// Yes, and the HDD icon and picture that follow the disk's power. The real
// provider, service and Calvex, used through the desktop's automation and read
// back from screenshots, the firmware's register, the log and the
// notification area.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>

#include "platform/gfx/sim/png.h"
#include "tests/osd/osd_support.h"
#include "tests/tray/dialogs_fixture.h"
#include "tools/artwork/hdd_pictures.h"
#include "tray/osd/osd_pictures.h"

namespace traytest {
namespace {

namespace gfx = orv::gfx;
namespace art = orv::artwork;

constexpr const char* kTitle = "HDD On/Off Message";
constexpr int kYes = 6, kNo = 7;
constexpr unsigned kHddPower = 0x80;

std::int64_t NowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

// A face as the dialog's button decodes it from its PNG resource.
gfx::Surface Decoded(const gfx::Surface& face) {
  std::vector<std::uint8_t> png;
  gfx::Surface out;
  EXPECT_EQ(gfx::EncodePng(face, &png), gfx::Ok);
  EXPECT_EQ(gfx::DecodePng(png.data(), png.size(), &out), gfx::Ok);
  return out;
}

class HddDialog : public Dialogs {
 protected:
  struct Place {
    int x = 0, y = 0, w = 0, h = 0;
  };
  Place WindowPlace() {
    for (const std::string& line : Lines(Desk({"windows"}).out)) {
      auto f = Fields(line);
      if (f.size() < 3 || f.back() != kTitle) continue;
      Place p;
      std::sscanf(f[0].c_str(), "%d %d %d %d", &p.x, &p.y, &p.w, &p.h);
      return p;
    }
    return Place{};
  }
  Place ControlPlace(int id) {
    auto c = Controls(kTitle);
    Place p;
    if (c.count(id)) std::sscanf(c[id][3].c_str(), "%d %d %d %d", &p.x, &p.y, &p.w, &p.h);
    return p;
  }
  void SetHddPower(bool on) {
    const int value = (Register("root\\WMI:Q:Orv_Device:Device:0") & ~kHddPower) | (on ? kHddPower : 0);
    auto r = orv::test::Run({Program("orvcmd"), "root\\WMI:S:Orv_Device:Device:0:" + std::to_string(value)});
    ASSERT_EQ(r.exitCode, 0) << r.err;
  }
  bool HddPowered() { return (Register("root\\WMI:Q:Orv_Device:Device:0") & kHddPower) != 0; }
  int LogCount(const std::string& line) {
    const std::string log = LogText();
    int n = 0;
    for (std::size_t at = log.find(line); at != std::string::npos; at = log.find(line, at + 1)) ++n;
    return n;
  }
  void OpenDialog() {
    Sim({"press", "hddkey"});
    ASSERT_TRUE(WaitWindow(kTitle));
  }

  // Whether the screen shows the dialog's picture over the desktop it stood
  // on: the background bitmap where it is not green, the desktop where it is
  // (the window's shape), and each face at its button, pressed ones one pixel
  // right and down; *why tells the first difference.
  bool ShowsDialog(const gfx::Surface& shot, const gfx::Surface& desktop, bool chinese, int pressed,
                   std::string* why) {
    const gfx::Surface background = art::HddBackground(chinese);
    const Place win = WindowPlace();
    if (win.w != background.width || win.h != background.height) {
      *why = "the window is " + std::to_string(win.w) + " x " + std::to_string(win.h);
      return false;
    }
    gfx::Surface want(win.w, win.h);
    for (int y = 0; y < win.h; ++y)
      for (int x = 0; x < win.w; ++x) {
        const gfx::Pixel b = background.At(x, y);
        want.At(x, y) = b == art::kHddKeyColour ? desktop.At(win.x + x, win.y + y) : b;
      }
    for (int id : {kYes, kNo}) {
      const Place button = ControlPlace(id);
      const gfx::Surface face = Decoded(art::HddFace(id == kYes, chinese));
      const int shift = id == pressed ? 1 : 0;
      for (int y = 0; y < button.h; ++y)
        for (int x = 0; x < button.w; ++x) {
          const int fx = x - shift, fy = y - shift;
          const gfx::Pixel under = background.At(button.x - win.x + x, button.y - win.y + y);
          want.At(button.x - win.x + x, button.y - win.y + y) =
              face.Contains(fx, fy) ? gfx::Over(under, face.At(fx, fy)) : under;
        }
    }
    for (int y = 0; y < win.h; ++y)
      for (int x = 0; x < win.w; ++x)
        if (shot.At(win.x + x, win.y + y) != want.At(x, y)) {
          char text[160];
          std::snprintf(text, sizeof text, "at (%d, %d) of the window: %08x, want %08x", x, y,
                        shot.At(win.x + x, win.y + y), want.At(x, y));
          *why = text;
          return false;
        }
    return true;
  }
  // pressed: the id of the button held down, or 0.
  bool WaitShowsDialog(const gfx::Surface& desktop, bool chinese, int pressed, std::string* why) {
    return WaitFor([&] { return ShowsDialog(Screenshot(), desktop, chinese, pressed, why); });
  }
  // The first window shown after entry `after`; seq 0 on time-out.
  orv::desktop::JournalEntry NextShown(std::uint64_t after) {
    orv::desktop::JournalEntry found;
    WaitFor([&] {
      for (const auto& e : Journal())
        if (e.seq > after && e.shown) {
          found = e;
          return true;
        }
      return false;
    });
    return found;
  }
};

TEST_F(HddDialog, InEnglishTheKeyShowsTheShapedPictureOnceAndNoSwitchesTheDiskOnAndCloses) {
  InstallService();
  SetLogFlag("TRUE");
  StartCalvex();
  SetHddPower(false);
  const gfx::Surface desktop = Bare();
  OpenDialog();
  std::string why;
  EXPECT_TRUE(WaitShowsDialog(desktop, false, 0, &why)) << why;

  // A second press of the key while it is open: its line, and no second dialog.
  Sim({"press", "hddkey"});
  ASSERT_TRUE(WaitFor([&] { return LogCount("It's HDD Dialog WMIevent") == 2; }));
  EXPECT_EQ(CountTitled(kTitle), 1);

  // The mouse held down on No shows its face one pixel right and down; let go, No acts.
  const auto [nx, ny] = Centre(kTitle, kNo);
  Do({"click", std::to_string(nx), std::to_string(ny), "down"});
  EXPECT_TRUE(WaitShowsDialog(desktop, false, kNo, &why)) << why;
  Do({"click", std::to_string(nx), std::to_string(ny), "up"});
  ASSERT_TRUE(WaitGone(kTitle));
  EXPECT_TRUE(HddPowered());
  EXPECT_TRUE(WaitFor([&] { return LogCount("Open HDD Dialog") == 1; }));
  EXPECT_TRUE(WaitFor([&] { return CalvexIcons() == std::vector<std::string>{"1 Calvex", "2 HDD Enable"}; }));

  // The key opens it again once it has gone.
  OpenDialog();
  EXPECT_TRUE(WaitShowsDialog(desktop, false, 0, &why)) << why;
}

TEST_F(HddDialog, InTraditionalChineseYesSwitchesTheDiskOffOnceAndClosesHalfASecondAfterTheMainWindowsAnswer) {
  Language("zh_TW.UTF-8");
  InstallService();
  SetLogFlag("TRUE");
  StartCalvex();
  const gfx::Surface desktop = Bare();
  ASSERT_TRUE(HddPowered());
  OpenDialog();
  std::string why;
  EXPECT_TRUE(WaitShowsDialog(desktop, true, 0, &why)) << why;

  // Held down, the Yes face moves one pixel right and down.
  const auto [yx, yy] = Centre(kTitle, kYes);
  Do({"click", std::to_string(yx), std::to_string(yy), "down"});
  EXPECT_TRUE(WaitShowsDialog(desktop, true, kYes, &why)) << why;

  // Yes let go and No pressed right after it: only Yes acts (the buttons are
  // disabled at once), and the window goes no sooner than half a second later.
  const std::int64_t pressed = NowMs();
  Do({"click", std::to_string(yx), std::to_string(yy), "up"});
  Do({"press", kTitle, std::to_string(kNo)});
  ASSERT_TRUE(WaitGone(kTitle));
  EXPECT_GE(NowMs() - pressed, 500);
  EXPECT_FALSE(HddPowered());
  orv::desktop::JournalEntry hidden;
  for (const auto& e : Journal())
    if (!e.shown && e.className == "#32770" && e.rect.right - e.rect.left == 510) hidden = e;
  EXPECT_NE(hidden.seq, 0u);
  // The firmware tells of the disk's new power: the HDD icon follows it.
  EXPECT_TRUE(WaitFor([&] { return CalvexIcons() == std::vector<std::string>{"1 Calvex", "2 HDD Disable"}; }));
  EXPECT_TRUE(WaitFor([&] { return LogCount("Open HDD Dialog") == 1; }));
}

TEST_F(HddDialog, TheHddIconAndItsPictureFollowTheDisksPowerAndTheKeyDoesNothingWithoutHddControl) {
  InstallService();
  SetLogFlag("TRUE");
  StartCalvex();
  const gfx::Surface bare = Bare();
  const gfx::Surface on = osdtest::Picture(OsdIconPictureName(17)), off = osdtest::Picture(OsdIconPictureName(18));
  ASSERT_FALSE(on.Empty());
  std::string why;

  // Off: the disabled icon and picture, in the first slot.
  std::uint64_t before = LastEntry();
  SetHddPower(false);
  EXPECT_TRUE(WaitFor([&] { return CalvexIcons() == std::vector<std::string>{"1 Calvex", "2 HDD Disable"}; }));
  auto shown = WaitShown(before, SlotX(1, off.width), SlotY(off.height));
  ASSERT_NE(shown.seq, 0u);
  EXPECT_TRUE(osdtest::Shows(FrameOf(shown), bare, off, SlotX(1, off.width), SlotY(off.height), &why)) << why;
  EXPECT_TRUE(WaitFor([&] { return LogCount("Get HDD's Flag in EC's rom : Disable") == 1; }));
  ASSERT_NE(WaitHidden(shown).seq, 0u);

  // On while the brightness display is up: the enabled picture takes the
  // third slot. A machine too busy to switch the disk within the brightness
  // display's two seconds shows it in the first slot; that round goes again.
  bool third = false;
  bool power = false;
  for (int round = 0; round < 5 && !third; ++round) {
    before = LastEntry();
    Sim({"brightness", "set", round % 2 ? "63" : "37"});
    ASSERT_NE(NextShown(before).seq, 0u) << "no brightness display";
    before = LastEntry();
    power = !power;
    SetHddPower(power);
    shown = NextShown(before);
    ASSERT_NE(shown.seq, 0u);
    third = power && shown.rect.left == SlotX(3, on.width);
    if (!third && power) {
      SetHddPower(false);
      power = false;
    }
    Bare();
  }
  EXPECT_TRUE(third) << "the HDD picture never stood beside the brightness display";
  EXPECT_TRUE(osdtest::Shows(FrameOf(shown), bare, on, SlotX(3, on.width), SlotY(on.height), &why)) << why;
  EXPECT_TRUE(WaitFor([&] { return CalvexIcons() == std::vector<std::string>{"1 Calvex", "2 HDD Enable"}; }));
  EXPECT_TRUE(WaitFor([&] { return LogCount("Get HDD's Flag in EC's rom : Enable") >= 1; }));

  // Without HDD control the key logs its line and opens nothing.
  StopCalvex();
  Sim({"set", "hddcontrol", "off"});
  StartCalvex();
  Sim({"press", "hddkey"});
  ASSERT_TRUE(WaitFor([&] { return LogCount("It's HDD Dialog WMIevent") >= 1; }));
  Sim({"press", "wireless"});  // handled after the HDD key: the key had its whole turn
  ASSERT_TRUE(WaitFor([&] { return LogCount("It's Wirelees's WMIevent") >= 1; }));
  EXPECT_EQ(CountTitled(kTitle), 0);
  EXPECT_EQ(LogCount("Open HDD Dialog"), 0);
}

}  // namespace
}  // namespace traytest
