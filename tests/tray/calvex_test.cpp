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
#include <thread>

#include "tests/osd/osd_support.h"
#include "tests/tray/tray_fixture.h"

namespace traytest {
namespace {

using orv::test::Program;

const char* const kStartupLines[] = {
    "OnInitial Function", "\t Confirm Log's Status", "\t Register WMI event", "\t Define Language",
    "\t Set Icon and Set WindowsText", "\t Move Calvex's Windows", "\t Set Tray Icon", "\t Register KB Hook event",
    "\t Load KBHook.dll", "\t Define OSD and ICON", "\t Define User Define key ",
    "\t Register Audio's Event in Vista ", "\t Register Brightness's Event in Vista ", "\t Define ECO in Vista",
    "\t Set Timer to Hide Windows", "\t Register Calvex to EC", "\t Register PowerSetting Event in vista",
    "\t Confirm User Define Function", "\t Confirm ASL Code", "\t Confirm HDD Function",
    "\t Define Audio and Brightness value"};

const char* const kTeardownLines[] = {"On Destroy Function", "\t UnRegister Calvex to EC", "\t UnLoad KBHook.dll",
                                      "\t Delete Tray Icon."};

// The texts of the level-5 lines of a log, in order ("<<...>>  text \r\n").
std::vector<std::string> TimestampedTexts(const std::string& log) {
  std::vector<std::string> out;
  std::istringstream in(log);
  std::string line;
  while (std::getline(in, line)) {
    auto close = line.find(">>  ");
    if (line.rfind("<<", 0) != 0 || close == std::string::npos) continue;
    std::string text = line.substr(close + 4);
    if (text.size() >= 2 && text.compare(text.size() - 2, 2, " \r") == 0) text.resize(text.size() - 2);
    out.push_back(text);
  }
  return out;
}

class Calvex : public Notebook {
 protected:
  // Presses a key and waits until the screen shows something new at (x, y).
  orv::gfx::Surface PressAndShoot(const std::string& key, int x, int y) {
    orv::gfx::Surface before = Screenshot();
    Sim({"press", key});
    EXPECT_TRUE(WaitForChange(before, x, y)) << "nothing appeared for " << key;
    return Screenshot();
  }
  // A screen with every OSD hidden again (the bare desktop).
  orv::gfx::Surface Bare() {
    orv::gfx::Surface bare;
    EXPECT_TRUE(orv::test::WaitFor(
        [&] {
          bare = Screenshot();
          return bare.At(1200, 700) == bare.At(600, 700);  // the OSD corner shows the wallpaper
        },
        std::chrono::seconds(5)));
    return bare;
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
    const auto pressed = std::chrono::steady_clock::now();
    orv::gfx::Surface shown = PressAndShoot(c.key, x + icon.width / 2, y + icon.height / 2);
    const bool on = SimStatus().find(c.statusWord) != std::string::npos;
    std::string why;
    EXPECT_TRUE(osdtest::Shows(shown, bare, osdtest::Picture(on ? c.onPicture : c.offPicture), x, y, &why)) << why;
    // The picture and the log line tell the same state.
    std::string line = std::string("Get ") + c.logName + "'s Flag in EC's rom : " + (on ? "Enable" : "Disable");
    EXPECT_NE(LogText().rfind(line), std::string::npos) << line;
    // Still up a second after the press, gone once two seconds have passed.
    std::this_thread::sleep_until(pressed + std::chrono::milliseconds(1000));
    EXPECT_NE(Screenshot().At(x + icon.width / 2, y + icon.height / 2), bare.At(x + icon.width / 2, y + icon.height / 2));
    Bare();
    EXPECT_GE(std::chrono::steady_clock::now() - pressed, std::chrono::milliseconds(1900));
  }
}

TEST_F(Calvex, SuccessiveRadioKeysStackInThreeSlotsAndALoneRadioTakesTheFirst) {
  InstallService();
  StartCalvex();
  orv::gfx::Surface bare = Bare();
  orv::gfx::Surface icon = osdtest::Picture("ICON/Wireless_Enable.png");
  const int w = icon.width, h = icon.height;
  // The three keys one right after another, then one look at the screen, well
  // within the first display's two seconds.
  Sim({"press", "wireless"});
  Sim({"press", "bluetooth"});
  Sim({"press", "3g"});
  ASSERT_TRUE(WaitForChange(bare, SlotX(3, w) + w / 2, SlotY(h) + h / 2));
  orv::gfx::Surface three = Screenshot();
  std::string status = SimStatus();
  auto picture = [&](const char* device, const char* onWord) {
    return osdtest::Picture(std::string("ICON/") + device +
                            (status.find(onWord) != std::string::npos ? "_Enable.png" : "_Disable.png"));
  };
  std::string why;
  EXPECT_TRUE(osdtest::Shows(three, bare, picture("Wireless", "wireless on"), SlotX(1, w), SlotY(h), &why)) << why;
  EXPECT_TRUE(osdtest::Shows(three, bare, picture("BlueTooth", "bluetooth on"), SlotX(2, w), SlotY(h), &why)) << why;
  EXPECT_TRUE(osdtest::Shows(three, bare, picture("3G", "3g on"), SlotX(3, w), SlotY(h), &why)) << why;

  // Once they have hidden, Bluetooth alone goes to the first slot, and 3G after
  // wireless alone to the second.
  Bare();
  orv::gfx::Surface alone = PressAndShoot("bluetooth", SlotX(1, w) + w / 2, SlotY(h) + h / 2);
  status = SimStatus();
  EXPECT_TRUE(osdtest::Shows(alone, bare, picture("BlueTooth", "bluetooth on"), SlotX(1, w), SlotY(h), &why)) << why;
  Bare();
  Sim({"press", "wireless"});
  Sim({"press", "3g"});
  ASSERT_TRUE(WaitForChange(bare, SlotX(2, w) + w / 2, SlotY(h) + h / 2));
  orv::gfx::Surface second = Screenshot();
  status = SimStatus();
  EXPECT_TRUE(osdtest::Shows(second, bare, picture("3G", "3g on"), SlotX(2, w), SlotY(h), &why)) << why;
}

TEST_F(Calvex, NothingShowsOverAFullScreenProgramButOverAMaximisedOne) {
  InstallService();
  SetLogFlag("TRUE");
  StartCalvex();
  ASSERT_EQ(orv::test::Run({Program("orv-desktop"), "fullscreen", "on"}).exitCode, 0);
  orv::gfx::Surface film = Screenshot();
  Sim({"press", "webcam"});
  Sim({"press", "wireless"});
  ASSERT_TRUE(orv::test::WaitFor([&] { return LogText().find("It's Wirelees's WMIevent") != std::string::npos; }));
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  orv::gfx::Surface after = Screenshot();
  EXPECT_TRUE(after.pixels == film.pixels) << "an OSD showed over the full-screen program";

  // The same program maximised is not full screen.
  ASSERT_EQ(orv::test::Run({Program("orv-desktop"), "fullscreen", "maximized"}).exitCode, 0);
  orv::gfx::Surface icon = osdtest::Picture("ICON/WebCam_Enable.png");
  const int cx = SlotX(1, icon.width) + icon.width / 2, cy = SlotY(icon.height) + icon.height / 2;
  orv::gfx::Surface shown = PressAndShoot("webcam", cx, cy);
  EXPECT_NE(shown.At(cx, cy), film.At(cx, cy));
  ASSERT_EQ(orv::test::Run({Program("orv-desktop"), "fullscreen", "off"}).exitCode, 0);
}

TEST_F(Calvex, ASecondCopyInTheSameSessionEndsAtOnceAndLeavesNoTrace) {
  InstallService();
  SetLogFlag("TRUE");
  StartCalvex();
  const std::string logBefore = LogText();
  const auto iconsBefore = CalvexIcons();
  auto second = orv::test::Run({Program("Calvex")}, {}, std::chrono::seconds(5));
  EXPECT_EQ(second.exitCode, 0) << second.err;
  EXPECT_EQ(LogText(), logBefore);
  EXPECT_EQ(CalvexIcons(), iconsBefore);
  // Another session of the same user runs its own copy.
  setenv("ORV_SESSION", "second", 1);
  orv::test::Child other({Program("Calvex")});
  unsetenv("ORV_SESSION");
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
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
  std::this_thread::sleep_for(std::chrono::milliseconds(800));
  EXPECT_TRUE(calvex_->Running());
  EXPECT_EQ(Register("root\\WMI:Q:Orv_Software:Software:0"), 0);
  InstallService();
  ASSERT_TRUE(orv::test::WaitFor([&] { return Register("root\\WMI:Q:Orv_Software:Software:0") == 1; },
                                 std::chrono::seconds(10)));
  ASSERT_TRUE(orv::test::WaitFor(
      [&] { return orv::test::Run({Program("orv-desktop"), "screenshot", home_->path() + "/up.png"}).exitCode == 0; }));
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
  ASSERT_TRUE(orv::test::WaitFor(
      [&] { return orv::test::Run({Program("orv-desktop"), "screenshot", home_->path() + "/up.png"}).exitCode == 0; }));
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
