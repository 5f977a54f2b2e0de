// Calvex run for real with the firmware provider and the service: key presses
// show their pictures at their places and hide again, radios stack, nothing shows
// over a full-screen program, one copy per session, the start-up and teardown
// with their log lines, and a service that comes up late.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/osd/osd_support.h"
#include "tests/tray/tray_fixture.h"

namespace traytest {
namespace {

using orv::test::Program;

const char* const kStartupLines[] = {
    "OnInitial Function", "\t Confirm Log's Status", "\t Register WMI event", "\t Define Language",
    "\t Set Icon and Set WindowsText", "\t Move Calvex's Windows", "\t Set Tray Icon", "\t Register KB Hook event",
    "\t Load KBHook.dll", "\t Define OSD and ICON", "\t Define User Define key ", "\t Register Audio's Event in Vista ",
    "\t Register Brightness's Event in Vista ", "\t Define ECO in Vista", "\t Set Timer to Hide Windows",
    "\t Register Calvex to EC", "\t Register PowerSetting Event in vista",
    "\t Confirm User Define Function", "\t Confirm ASL Code", "\t Confirm HDD Function",
    "\t Define Audio and Brightness value"};

const char* const kTeardownLines[] = {"On Destroy Function", "\t UnRegister Calvex to EC", "\t UnLoad KBHook.dll",
                                      "\t Delete Tray Icon."};

class Calvex : public Notebook {
 protected:
  // Presses a key and returns the screen as the desktop composed it when a display
  // came up over (x, y).
  orv::gfx::Surface PressAndShoot(const std::string& key, int x, int y) {
    const std::uint64_t before = LastEntry();
    Sim({"press", key});
    orv::desktop::JournalEntry shown = WaitShown(before, x, y);
    EXPECT_NE(shown.seq, 0u) << "nothing appeared for " << key;
    return shown.seq ? FrameOf(shown) : orv::gfx::Surface();
  }
};

TEST_F(Calvex, DeviceKeysShowTheirPictureBesideTheTaskbarAndHideTwoSecondsLater) {
  InstallService();
  SetLogFlag("TRUE");
  StartCalvex();
  orv::gfx::Surface bare = Bare();
  struct Case {
    const char* key;
    const char* statusWord;  // what orv-sim status says when the device is on
    const char* onPicture;
    const char* offPicture;
    const char* logName;
  };
  const Case cases[] = {
      {"webcam", "webcam on", "ICON/WebCam_Enable.png", "ICON/WebCam_Disable.png", "WebCam"},
      {"touchpad", "touchpad enabled", "ICON/TouchPad_Enable.png", "ICON/TouchPad_Disable.png", "TouchPad"},
      {"touchpad", "touchpad enabled", "ICON/TouchPad_Enable.png", "ICON/TouchPad_Disable.png", "TouchPad"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    orv::gfx::Surface icon = osdtest::Picture(c.onPicture);
    ASSERT_FALSE(icon.Empty());
    const int x = SlotX(1, icon.width), y = SlotY(icon.height);
    const std::uint64_t before = LastEntry();
    Sim({"press", c.key});
    const orv::desktop::JournalEntry shown = WaitShown(before, x + icon.width / 2, y + icon.height / 2);
    ASSERT_NE(shown.seq, 0u) << "nothing appeared";
    EXPECT_EQ(shown.rect.left, x);
    EXPECT_EQ(shown.rect.top, y);
    const bool on = SimStatus().find(c.statusWord) != std::string::npos;
    std::string why;
    EXPECT_TRUE(osdtest::Shows(FrameOf(shown), bare, osdtest::Picture(on ? c.onPicture : c.offPicture), x, y, &why))
        << why;
    // The picture and the log line tell the same state.
    std::string line = std::string("Get ") + c.logName + "'s Flag in EC's rom : " + (on ? "Enable" : "Disable");
    EXPECT_NE(LogText().rfind(line), std::string::npos) << line;
    // Hidden by its own two-second timer, which never ends early: the desktop's
    // record has the hiding at least two seconds after the showing.
    const orv::desktop::JournalEntry hidden = WaitHidden(shown);
    ASSERT_NE(hidden.seq, 0u) << "never hidden";
    EXPECT_GE(hidden.ms - shown.ms, 2000);
    Bare();
  }
}

TEST_F(Calvex, SuccessiveRadioKeysStackInThreeSlotsAndALoneRadioTakesTheFirst) {
  InstallService();
  StartCalvex();
  orv::gfx::Surface bare = Bare();
  orv::gfx::Surface icon = osdtest::Picture("ICON/Wireless_Enable.png");
  const int w = icon.width, h = icon.height;
  auto picture = [&](const std::string& status, const char* device, const char* onWord) {
    return osdtest::Picture(std::string("ICON/") + device +
                            (status.find(onWord) != std::string::npos ? "_Enable.png" : "_Disable.png"));
  };
  // The n-th display shown after entry `from`, once there, if none was hidden before it.
  auto nthTogether = [&](std::uint64_t from, int n) {
    orv::desktop::JournalEntry nth;
    bool hid = false;
    EXPECT_TRUE(orv::test::WaitFor([&] {
      int shown = 0;
      hid = false;
      for (const auto& e : Journal()) {
        if (e.seq <= from) continue;
        if (!e.shown) hid = true;
        if (e.shown && ++shown == n) {
          nth = e;
          return true;
        }
      }
      return false;
    }));
    return hid ? orv::desktop::JournalEntry() : nth;
  };
  // The three keys one right after another: each display stacks beside the ones
  // still up. A machine too busy to press three keys within a display's two
  // seconds has one hidden before the third comes; that round is pressed again.
  orv::desktop::JournalEntry third;
  std::uint64_t before = 0;
  for (int round = 0; round < 5; ++round) {
    before = LastEntry();
    Sim({"press", "wireless"});
    Sim({"press", "bluetooth"});
    Sim({"press", "3g"});
    third = nthTogether(before, 3);
    if (third.seq) break;
    Bare();
  }
  ASSERT_NE(third.seq, 0u) << "the three displays never stood together";
  EXPECT_EQ(third.rect.left, SlotX(3, w));
  orv::gfx::Surface three = FrameOf(third);
  std::string status = SimStatus();
  std::string why;
  EXPECT_TRUE(osdtest::Shows(three, bare, picture(status, "Wireless", "wireless on"), SlotX(1, w), SlotY(h), &why))
      << why;
  EXPECT_TRUE(osdtest::Shows(three, bare, picture(status, "BlueTooth", "bluetooth on"), SlotX(2, w), SlotY(h), &why))
      << why;
  EXPECT_TRUE(osdtest::Shows(three, bare, picture(status, "3G", "3g on"), SlotX(3, w), SlotY(h), &why)) << why;

  // Once they have hidden, Bluetooth alone goes to the first slot, and 3G after
  // wireless alone to the second (again unless the wireless display was gone first).
  Bare();
  orv::gfx::Surface alone = PressAndShoot("bluetooth", SlotX(1, w) + w / 2, SlotY(h) + h / 2);
  status = SimStatus();
  EXPECT_TRUE(osdtest::Shows(alone, bare, picture(status, "BlueTooth", "bluetooth on"), SlotX(1, w), SlotY(h), &why))
      << why;
  orv::desktop::JournalEntry second;
  for (int round = 0; round < 5; ++round) {
    Bare();
    before = LastEntry();
    Sim({"press", "wireless"});
    Sim({"press", "3g"});
    second = nthTogether(before, 2);
    if (second.seq) break;
  }
  ASSERT_NE(second.seq, 0u) << "the two displays never stood together";
  EXPECT_EQ(second.rect.left, SlotX(2, w));
  status = SimStatus();
  EXPECT_TRUE(osdtest::Shows(FrameOf(second), bare, picture(status, "3G", "3g on"), SlotX(2, w), SlotY(h), &why))
      << why;
}

TEST_F(Calvex, NothingShowsOverAFullScreenProgramButOverAMaximisedOne) {
  InstallService();
  SetLogFlag("TRUE");
  StartCalvex();
  ASSERT_EQ(orv::test::Run({Program("orv-desktop"), "fullscreen", "on"}).exitCode, 0);
  orv::gfx::Surface film = Screenshot();
  const std::uint64_t before = LastEntry();
  Sim({"press", "webcam"});
  Sim({"press", "wireless"});
  ASSERT_TRUE(orv::test::WaitFor([&] { return LogText().find("It's Wirelees's WMIevent") != std::string::npos; }));

  // The same program maximised is not full screen. The tray handles its events in
  // order, so by the time this display shows, the two before it were decided.
  ASSERT_EQ(orv::test::Run({Program("orv-desktop"), "fullscreen", "maximized"}).exitCode, 0);
  orv::gfx::Surface icon = osdtest::Picture("ICON/WebCam_Enable.png");
  const int cx = SlotX(1, icon.width) + icon.width / 2, cy = SlotY(icon.height) + icon.height / 2;
  orv::gfx::Surface shown = PressAndShoot("webcam", cx, cy);
  EXPECT_NE(shown.At(cx, cy), film.At(cx, cy));
  int displays = 0;
  for (const auto& e : Journal()) displays += e.seq > before && e.shown && e.className == "#32770";
  EXPECT_EQ(displays, 1) << "an OSD showed over the full-screen program";
  ASSERT_EQ(orv::test::Run({Program("orv-desktop"), "fullscreen", "off"}).exitCode, 0);
}

TEST_F(Calvex, ASecondCopyInTheSameSessionEndsAtOnceAndLeavesNoTrace) {
  InstallService();
  SetLogFlag("TRUE");
  StartCalvex();
  const std::string logBefore = LogText();
  const auto iconsBefore = CalvexIcons();
  auto second = orv::test::Run({Program("Calvex")});
  EXPECT_EQ(second.exitCode, 0) << second.err;
  EXPECT_EQ(LogText(), logBefore);
  EXPECT_EQ(CalvexIcons(), iconsBefore);
  // Another session of the same user runs its own copy.
  setenv("ORV_SESSION", "second", 1);
  orv::test::Child other({Program("Calvex")});
  unsetenv("ORV_SESSION");
  // It got past the single-instance check once it starts logging its start-up.
  auto startups = [&] {
    const std::string log = LogText();
    int n = 0;
    for (std::size_t at = log.find("OnInitial Function"); at != std::string::npos;
         at = log.find("OnInitial Function", at + 1))
      ++n;
    return n;
  };
  EXPECT_TRUE(orv::test::WaitFor([&] { return startups() == 2; })) << "a copy in another session never started";
  EXPECT_TRUE(other.Running()) << "a copy in another session was stopped";
  other.Signal(SIGTERM);
  other.Wait();
  // Once the first copy has ended, the name is free again.
  ASSERT_EQ(StopCalvex(), 0);
  StartCalvex();
}

TEST_F(Calvex, StartUpAndTeardownWriteTheirLinesInOrderAndTeardownRemovesBothIcons) {
  InstallService();
  SetLogFlag("TRUE");
  std::ofstream(LogPath()) << "an earlier run\r\n";
  StartCalvex();
  auto icons = CalvexIcons();
  EXPECT_EQ(icons, (std::vector<std::string>{"1 Calvex", "2 HDD Enable"}));
  ASSERT_EQ(StopCalvex(), 0);
  EXPECT_EQ(Register("root\\WMI:Q:Orv_Software:Software:0"), 0) << "the firmware still thinks the utility runs";
  EXPECT_TRUE(CalvexIcons().empty()) << "an icon stayed behind in the notification area";

  const std::string log = LogText();
  EXPECT_EQ(log.rfind("an earlier run\r\n", 0), 0u) << "the log was not appended to";
  std::vector<std::string> expected(std::begin(kStartupLines), std::end(kStartupLines));
  expected.insert(expected.end(), std::begin(kTeardownLines), std::end(kTeardownLines));
  EXPECT_EQ(TimestampedTexts(log), expected);
}

TEST_F(Calvex, WithoutHddControlOnlyTheMainIconAndWithLoggingOffNoLog) {
  Sim({"set", "hddcontrol", "off"});
  InstallService();
  SetLogFlag("true");  // not exactly "TRUE": off
  StartCalvex();
  EXPECT_EQ(CalvexIcons(), (std::vector<std::string>{"1 Calvex"}));
  ASSERT_EQ(StopCalvex(), 0);
  EXPECT_TRUE(CalvexIcons().empty());
  EXPECT_EQ(LogText(), "");
}

TEST_F(Calvex, OlderFirmwareIsAskedAndNewerFirmwareIsBelievedAndOtherEventsAreOnlyLogged) {
  Sim({"set", "asl", "16"});
  InstallService();
  SetLogFlag("TRUE");
  StartCalvex();
  orv::gfx::Surface icon = osdtest::Picture("ICON/Wireless_Enable.png");
  PressAndShoot("wireless", SlotX(1, icon.width) + icon.width / 2, SlotY(icon.height) + icon.height / 2);
  Sim({"raw", "event", "0x10"});
  Sim({"raw", "event", "0x0863"});
  ASSERT_TRUE(orv::test::WaitFor([&] { return LogText().find("It's Brightness's WMIevent") != std::string::npos; }));
  const std::string log = LogText();
  const bool on = SimStatus().find("wireless on") != std::string::npos;
  EXPECT_NE(log.find(std::string("\tGet Wireless's Flag in EC's rom : ") + (on ? "Enable" : "Disable") + "\r\n"),
            std::string::npos)
      << log;
  EXPECT_NE(log.find("Calvex receive WMI Event value : 10  \t<< This WMIevent don't work in Calvex. >>\r\n"),
            std::string::npos);
  EXPECT_NE(log.find("Calvex receive WMI Event value : 63  \t<< It's Brightness's WMIevent >>\r\n"
                     "\t<< This WMIevent don't work in Vista. >>\r\n"),
            std::string::npos);
  ASSERT_EQ(StopCalvex(), 0);

  // Newer firmware: the state byte is believed, with its value in the line.
  Sim({"set", "asl", "17"});
  StartCalvex();
  Sim({"raw", "event", "0x085F"});
  ASSERT_TRUE(orv::test::WaitFor(
      [&] { return LogText().find("Get Wireless's Flag in EC's rom : Enable (value : 8)") != std::string::npos; }));
  Sim({"raw", "event", "0x0008"});
  ASSERT_TRUE(orv::test::WaitFor(
      [&] { return LogText().find("Get TouchPad's Flag in EC's rom : Enable (value : 0)") != std::string::npos; }));
}

TEST_F(Calvex, AServiceThatComesUpLateStillEndsInARegisteredWorkingTray) {
  calvex_ = std::make_unique<orv::test::Child>(std::vector<std::string>{Program("Calvex")});
  calvexPid_ = calvex_->pid();
  // Its tray icon comes before the announcement in its start-up, so from then on
  // it waits for the service.
  ASSERT_TRUE(orv::test::WaitFor([&] { return !CalvexIcons().empty(); }));
  EXPECT_TRUE(calvex_->Running());
  EXPECT_EQ(Register("root\\WMI:Q:Orv_Software:Software:0"), 0);
  InstallService();
  ASSERT_TRUE(orv::test::WaitFor([&] { return Register("root\\WMI:Q:Orv_Software:Software:0") == 1; }));
  AwaitDesktop();
  orv::gfx::Surface icon = osdtest::Picture("ICON/WebCam_Enable.png");
  PressAndShoot("webcam", SlotX(1, icon.width) + icon.width / 2, SlotY(icon.height) + icon.height / 2);
  ASSERT_EQ(StopCalvex(), 0);
  EXPECT_EQ(Register("root\\WMI:Q:Orv_Software:Software:0"), 0);
}

TEST_F(Calvex, LoggingOnWithoutADocumentsFolderSaysSoAndRunsOn) {
  std::filesystem::remove_all(std::filesystem::path(LogPath()).parent_path());
  InstallService();
  SetLogFlag("TRUE");
  const std::string err = home_->path() + "/calvex.err";
  calvex_ = std::make_unique<orv::test::Child>(
      std::vector<std::string>{"/bin/sh", "-c", "exec \"$0\" 2>\"$1\"", Program("Calvex"), err});
  calvexPid_ = calvex_->pid();
  ASSERT_TRUE(orv::test::WaitFor([&] { return Register("root\\WMI:Q:Orv_Software:Software:0") == 1; }));
  orv::gfx::Surface icon = osdtest::Picture("ICON/WebCam_Enable.png");
  AwaitDesktop();
  PressAndShoot("webcam", SlotX(1, icon.width) + icon.width / 2, SlotY(icon.height) + icon.height / 2);
  ASSERT_EQ(StopCalvex(), 0);
  std::ifstream in(err);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_NE(text.find("Calvex: logging is on, but the folder C:\\Users\\"), std::string::npos) << text;
  EXPECT_NE(text.find("running without the log file"), std::string::npos) << text;
}

// The notebook's volume and brightness keys reach the program twice: as the
// firmware's event, which it only logs, and as a key of the keyboard, which its
// keyboard-hook library reports with the key's scan code.
TEST_F(Calvex, VolumeAndBrightnessKeysArriveThroughTheKeyboardHookWithTheirScanCodes) {
  InstallService();
  SetLogFlag("TRUE");
  StartCalvex();
  auto logged = [&](const char* line) { return LogText().find(line) != std::string::npos; };
  Sim({"press", "volume-up"});
  EXPECT_TRUE(orv::test::WaitFor([&] { return logged("Got Volume Up/Down ScanCode"); }, std::chrono::seconds(10)));
  EXPECT_TRUE(orv::test::WaitFor([&] { return logged("It's Audio's WMIevent"); }, std::chrono::seconds(10)));
  EXPECT_FALSE(logged("Got Brightness Up/Down ScanCode"));
  Sim({"press", "brightness-down"});
  EXPECT_TRUE(
      orv::test::WaitFor([&] { return logged("Got Brightness Up/Down ScanCode"); }, std::chrono::seconds(10)));
}

}  // namespace
}  // namespace traytest
