// Turbo, ECO, theater mode, the user-defined key, the HDD key and a repeated
// overheat alarm end to end: the real provider, service and Calvex, checked on
// the firmware's registers, the notebook's levels, the frames the desktop
// composed, the programs started and the log's lines.
#include <gtest/gtest.h>

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <sstream>

#include "tests/tray/modes_fixture.h"

namespace traytest {
namespace {

using orv::test::WaitFor;

std::string EventLine(const char* value, const std::string& first) {
  return std::string("Calvex receive WMI Event value : ") + value + "  \t<< " + first + " >>";
}

constexpr int kEcoBit = 0x01, kTheaterBit = 0x04, kTurboBit = 0x02;

TEST_F(Modes, TurboAndEcoExcludeEachOther) {
  Start();
  std::size_t from = Count();
  std::uint64_t seq = LastEntry();
  Sim({"press", "turbo"});
  EXPECT_EQ(Until(from, "\tGet Turbo's Flag in EC's rom : Enable (value : 2)"),
            (LogLines{EventLine("60", "It's Turbo's WMIevent"), "\tGet Turbo's Flag in EC's rom : Enable (value : 2)"}));
  EXPECT_NE(WaitCentre(seq, "Turbo_Enable.png").seq, 0u);

  // ECO pressed while turbo is on: turbo goes (its register cleared), ECO's first mode comes.
  AwaitCentreHidden();
  from = Count();
  seq = LastEntry();
  Sim({"press", "eco"});
  EXPECT_EQ(Until(from, "\tECO Enable.  ECO's Statuts : 0"),
            (LogLines{EventLine("79", "It's ECO's WMIevent"), "\tSet turbo's Flag in EC's rom : Disable",
                   "\tSet ECO's Flag in EC's rom : Enable", "\tECO Enable.  ECO's Statuts : 0"}));
  EXPECT_EQ(SystemBits(0) & kTurboBit, 0);
  EXPECT_EQ(SystemBits(1) & kEcoBit, kEcoBit);
  EXPECT_NE(WaitShown(seq, 640, 400).seq, 0u) << "the ECO mode's picture";

  // Turbo pressed while ECO is on: the ECO-off picture, 1.5 s later the turbo-on
  // one in the same display, which then hides two seconds after that.
  AwaitCentreHidden();
  from = Count();
  seq = LastEntry();
  Sim({"press", "turbo"});
  const orv::desktop::JournalEntry ecoOff = WaitCentre(seq, "ECO_Diable.png");
  ASSERT_NE(ecoOff.seq, 0u);
  EXPECT_GE(WaitScreenShowsCentre("Turbo_Enable.png") - ecoOff.ms, 1500);
  EXPECT_EQ(Until(from, "\tGet Turbo's Flag in EC's rom : Enable"),
            (LogLines{EventLine("60", "It's Turbo's WMIevent"), "\tSet ECO's Flag in EC's rom : Disable",
                   "\tECO Enable.  ECO's Statuts : 5", "\tGet Turbo's Flag in EC's rom : Enable"}));
  const orv::desktop::JournalEntry hidden = WaitHidden(ecoOff);
  ASSERT_NE(hidden.seq, 0u);
  EXPECT_GE(hidden.ms - ecoOff.ms, 3490) << "shown 1.5 s before the turbo picture and 2 s after it";
  EXPECT_EQ(SystemBits(1) & kEcoBit, 0);

  // With turbo on and ECO off, ECO wins again and its cycle starts anew.
  from = Count();
  Sim({"press", "eco"});
  EXPECT_EQ(Until(from, "\tECO Enable.  ECO's Statuts : 0").size(), 4u);
  EXPECT_EQ(SystemBits(0) & kTurboBit, 0);

  // On battery the turbo key leaves turbo off: ending ECO for it then says so.
  from = Count();
  Sim({"ac", "unplug"});
  Until(from, "\t\t DC Now !!");
  AwaitCentreHidden();
  from = Count();
  seq = LastEntry();
  Sim({"press", "turbo"});
  EXPECT_NE(WaitCentre(seq, "ECO_Diable.png").seq, 0u);
  WaitScreenShowsCentre("Turbo_Disable.png");
  EXPECT_EQ(Until(from, "\tGet Turbo's Flag in EC's rom : Disable"),
            (LogLines{EventLine("60", "It's Turbo's WMIevent"), "\tSet ECO's Flag in EC's rom : Disable",
                   "\tECO Enable.  ECO's Statuts : 5", "\tGet Turbo's Flag in EC's rom : Disable"}));
}

TEST_F(Modes, TheaterModeRaisesVolumeAndBrightnessAndGivesThemBack) {
  Sim({"volume", "set", "80"});
  Sim({"brightness", "set", "90"});
  Start();
  struct Round {
    int volume, brightness, theaterVolume, theaterBrightness;
  };
  for (const Round& r : {Round{80, 90, 100, 100}, Round{40, 50, 70, 70}}) {
    SCOPED_TRACE("volume " + std::to_string(r.volume) + ", brightness " + std::to_string(r.brightness));
    Sim({"volume", "set", std::to_string(r.volume)});
    Sim({"brightness", "set", std::to_string(r.brightness)});
    ASSERT_TRUE(WaitFor([&] { return Volume() == r.volume && Brightness() == r.brightness; }));
    AwaitCentreHidden();
    std::size_t from = Count();
    std::uint64_t seq = LastEntry();
    Sim({"press", "theater"});
    const LogLines on = Until(from, "\tSet Theater mode Flag in EC's rom : Enable");
    EXPECT_NE(std::find(on.begin(), on.end(), "\tSave User Audio's value : " + std::to_string(r.volume)), on.end());
    EXPECT_NE(std::find(on.begin(), on.end(), "\tSave User Brightness's value : " + std::to_string(r.brightness)),
              on.end());
    EXPECT_TRUE(WaitFor([&] { return Volume() == r.theaterVolume && Brightness() == r.theaterBrightness; }))
        << "volume " << Volume() << ", brightness " << Brightness();
    EXPECT_EQ(SystemBits(1) & kTheaterBit, kTheaterBit);
    EXPECT_NE(WaitCentre(seq, "TheaterMode_Enable.png").seq, 0u);

    AwaitCentreHidden();
    from = Count();
    seq = LastEntry();
    Sim({"press", "theater"});
    const LogLines off = Until(from, "\tSet Theater mode Flag in EC's rom : Disable");
    EXPECT_NE(std::find(off.begin(), off.end(), "\tRestore Uer Audio's value : " + std::to_string(r.volume)),
              off.end());
    EXPECT_TRUE(WaitFor([&] { return Volume() == r.volume && Brightness() == r.brightness; }))
        << "volume " << Volume() << ", brightness " << Brightness();
    EXPECT_EQ(SystemBits(1) & kTheaterBit, 0);
    EXPECT_NE(WaitCentre(seq, "TheaterMode_Disable.png").seq, 0u);
  }
}

TEST_F(Modes, TheaterModeSetsEveryMonitorAndStopsAtTheFirstThatRefuses) {
  Sim({"brightness", "set", "50"});
  Sim({"set", "monitors", "2"});
  Start();
  std::size_t from = Count();
  Sim({"press", "theater"});
  Until(from, "\tSet Theater mode Flag in EC's rom : Enable");
  EXPECT_TRUE(WaitFor([&] { return Brightness(0) == 70 && Brightness(1) == 70; })) << SimStatus();
  from = Count();
  Sim({"press", "theater"});
  Until(from, "\tSet Theater mode Flag in EC's rom : Disable");
  EXPECT_TRUE(WaitFor([&] { return Brightness(0) == 50 && Brightness(1) == 50; })) << SimStatus();

  // The first monitor's driver refuses: the second is left as it was, not set to 80.
  Sim({"brightness", "set", "60"});
  Sim({"brightness", "refuse", "0", "on"});
  from = Count();
  Sim({"press", "theater"});
  const LogLines on = Until(from, "\tSet Theater mode Flag in EC's rom : Enable");
  EXPECT_NE(std::find(on.begin(), on.end(), "\tSet Brightness value : 80"), on.end());
  EXPECT_EQ(Brightness(0), 60);
  EXPECT_EQ(Brightness(1), 50);
}

TEST_F(Modes, TheUserDefinedKeyOpensItsDialogUntilAProgramIsChosenThenStartsIt) {
  PlaceProgram("Tools/Viewer.exe");
  Start();
  const std::string title = "User-Defined Key";
  std::size_t from = Count();
  Sim({"press", "userdefine"});
  ASSERT_TRUE(WaitWindow(title));
  Sim({"press", "userdefine"});  // handled inside the dialog: no second one opens
  const std::string event = EventLine("6f", "It's UserDfine's WMIevent");
  EXPECT_TRUE(WaitFor([&] {
    const LogLines all = Texts();
    return std::count(all.begin() + static_cast<std::ptrdiff_t>(from), all.end(), event) == 2;
  }));
  EXPECT_EQ(CountTitled(title), 1);
  ASSERT_EQ(Desk({"key", "esc"}).exitCode, 0);
  ASSERT_TRUE(WaitGone(title));
  const LogLines closed = Until(from, "\tOpen Dialog of User Define .............");
  ASSERT_GE(closed.size(), 2u);
  EXPECT_EQ(closed[closed.size() - 2], "\tFunction of User Define don't work");

  SetReg(kUserDefineKey, "UserDefineFilePath", "C:\\Tools\\Viewer.exe");
  SetReg(kUserDefineKey, "UserDefineFileName", "Viewer.exe");
  from = Count();
  Sim({"press", "userdefine"});
  EXPECT_EQ(Until(from, "\tOpen Viewer.exe  ............."),
            (LogLines{EventLine("6f", "It's UserDfine's WMIevent"), "\tFunction of User Define work",
                   "\tOpen Viewer.exe  ............."}));
  std::string started;
  ASSERT_TRUE(WaitFor([&] { return !(started = orv::test::ReadFile(home_->path() + "/programs.log")).empty(); }));
  std::istringstream fields(started);
  int pid = 0;
  std::string file, folder;
  fields >> pid;
  fields.ignore(1);
  std::getline(fields, file, '\t');
  std::getline(fields, folder, '\t');
  EXPECT_EQ(file, "C:\\Tools\\Viewer.exe");
  EXPECT_EQ(folder, "C:\\Tools") << "the program starts in its own folder";
  EXPECT_EQ(::kill(pid, 0), 0) << "the program runs";
  EXPECT_TRUE(WaitWindow("Viewer")) << "its window is on the desktop";

  // A program that has gone is said to be so, not reported as started.
  ASSERT_EQ(::unlink((home_->path() + "/drive_c/Tools/Viewer.exe").c_str()), 0);
  from = Count();
  Sim({"press", "userdefine"});
  EXPECT_EQ(Until(from, "\tOpen Viewer.exe failed (error 2)"),
            (LogLines{EventLine("6f", "It's UserDfine's WMIevent"), "\tOpen Viewer.exe failed (error 2)"}));
  ::kill(pid, SIGTERM);
}

TEST_F(Modes, TheHddKeyWithoutHddControlAndASecondStageOneAlarmOnlyLog) {
  Sim({"set", "hddcontrol", "off"});
  Start();
  std::size_t from = Count();
  const std::uint64_t seq = LastEntry();
  Sim({"press", "hddkey"});
  EXPECT_EQ(Settled(from), (LogLines{EventLine("7b", "It's HDD Dialog WMIevent")}));
  EXPECT_EQ(ShownSince(seq), 0);

  const std::string title = "Overheat Protection";
  Sim({"thermal", "s4-stage1"});
  ASSERT_TRUE(WaitWindow(title));
  from = Count();
  Sim({"thermal", "s4-stage1"});
  EXPECT_EQ(Settled(from), (LogLines{EventLine("9", "It's Overheat Protection S4 Satge 1 WMIevent")}));
  EXPECT_EQ(CountTitled(title), 1);
  // The warning closes by itself at the end of its countdown, and the next alarm opens it again.
  ASSERT_TRUE(WaitGone(title));
  Sim({"thermal", "s4-stage1"});
  EXPECT_TRUE(WaitWindow(title));
}

}  // namespace
}  // namespace traytest
