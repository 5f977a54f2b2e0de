// The power broadcasts end to end: the AC adaptor during the overheat warnings,
// on battery with turbo on, and before a brightness report; a sleep and the
// resume after it. The real provider, service and Calvex, checked on the log's
// lines, the desktop's windows and frames, the icons and the firmware's registers.
#include <gtest/gtest.h>

#include "tests/tray/modes_fixture.h"

namespace traytest {
namespace {

using orv::test::WaitFor;

const LogLines kAcNow = {"Power Setting Change in Vista (BoardCast)", "\t Power Status Function (AC/DC)", "\t\t AC Now !!"};
const LogLines kDcNow = {"Power Setting Change in Vista (BoardCast)", "\t Power Status Function (AC/DC)", "\t\t DC Now !!"};
const char kWarning[] = "Overheat Protection";

// The notebook's line "System  running|asleep|hibernated".
std::string PowerState(const std::string& status) {
  const std::size_t at = status.find("System ");
  return at == std::string::npos ? std::string() : status.substr(at, status.find('\n', at) - at);
}

TEST_F(Modes, TheAdaptorPluggedInEndsTheOverheatCountdownsWithoutHibernating) {
  Sim({"ac", "unplug"});
  Start();
  Sim({"thermal", "s4-stage2"});
  ASSERT_TRUE(WaitWindow(kWarning));
  std::size_t from = Count();
  Sim({"ac", "plug"});
  EXPECT_EQ(Until(from, "\t\t AC Now !!"), kAcNow);
  EXPECT_TRUE(WaitGone(kWarning));
  const std::string running = PowerState(SimStatus());
  EXPECT_NE(running.find("running"), std::string::npos) << running;

  // Both stage warnings up: the AC message goes to the one on top, once; no
  // countdown is left to hibernate, and both stages can warn again.
  Sim({"ac", "unplug"});
  Sim({"thermal", "s4-stage1"});
  ASSERT_TRUE(WaitWindow(kWarning));
  Sim({"thermal", "s4-stage2"});
  ASSERT_TRUE(WaitCount(kWarning, 2));
  from = Count();
  Sim({"ac", "plug"});
  EXPECT_EQ(Until(from, "\t\t AC Now !!"), kAcNow);
  EXPECT_TRUE(WaitCount(kWarning, 1)) << "the warning on top closes";
  EXPECT_TRUE(WaitGone(kWarning)) << "the other ends its countdown by itself";
  EXPECT_NE(PowerState(SimStatus()).find("running"), std::string::npos);
  Sim({"ac", "unplug"});
  Sim({"thermal", "s4-stage2"});
  EXPECT_TRUE(WaitWindow(kWarning)) << "a new stage-2 alarm warns again";
  Sim({"ac", "plug"});
  EXPECT_TRUE(WaitGone(kWarning));
}

TEST_F(Modes, OnBatteryTurboIsForgottenQuietlyAndTheNextBrightnessReportShowsOnce) {
  Start();
  std::size_t from = Count();
  Sim({"press", "turbo"});
  const orv::desktop::JournalEntry turbo = WaitCentre(LastEntry(), "Turbo_Enable.png");
  Until(from, "\tGet Turbo's Flag in EC's rom : Enable (value : 2)");
  from = Count();
  Sim({"ac", "unplug"});
  EXPECT_EQ(Until(from, "\t\t DC Now !!"), kDcNow);
  EXPECT_EQ(Settled(from), kDcNow);
  for (const auto& e : Journal()) {
    if (e.seq <= turbo.seq) continue;
    EXPECT_FALSE(e.shown) << "something was shown on the unplugging";
  }

  // AC -> DC -> AC with the brightness unchanged: its next report shows the level once.
  from = Count();
  Sim({"ac", "plug"});
  Until(from, "\t\t AC Now !!");
  const int level = Brightness();
  from = Count();
  const std::uint64_t before = LastEntry();
  Sim({"brightness", "set", std::to_string(level)});
  EXPECT_EQ(Until(from, "\t Power change and show Brightness's OSD"),
            (LogLines{"Got Brightness's event, Value : " + std::to_string(level),
                   "\t this Brightness's value equal to last Brightness's value",
                   "\t Power change and show Brightness's OSD"}));
  EXPECT_TRUE(WaitFor([&] { return ShownSince(before) == 1; }));
  from = Count();
  Sim({"brightness", "set", std::to_string(level)});
  EXPECT_EQ(Settled(from), (LogLines{"Got Brightness's event, Value : " + std::to_string(level),
                                  "\t this Brightness's value equal to last Brightness's value"}));

  // Another setting (the active scheme's personality) writes only the first line;
  // a record of the AC/DC setting whose data is not one DWORD's value 0 or 1 no more.
  from = Count();
  ASSERT_EQ(Desk({"power-setting", "{245d8541-3943-4422-b025-13a784f679b7}", "0"}).exitCode, 0);
  ASSERT_EQ(Desk({"power-setting", "{5D3E9A59-E9D5-4B00-A6BD-FF34FF516548}", "2"}).exitCode, 0);
  EXPECT_EQ(Settled(from), (LogLines{"Power Setting Change in Vista (BoardCast)",
                                     "Power Setting Change in Vista (BoardCast)", "\t Power Status Function (AC/DC)"}));
  EXPECT_NE(Desk({"power-setting", "5D3E9A59", "0"}).exitCode, 0) << "a malformed GUID is refused";

  // Turbo stayed forgotten: ECO pressed is the plain cycle, with no turbo line.
  from = Count();
  Sim({"press", "eco"});
  EXPECT_EQ(Until(from, "\tECO Enable.  ECO's Statuts : 0"),
            (LogLines{"Calvex receive WMI Event value : 79  \t<< It's ECO's WMIevent >>",
                   "\tSet ECO's Flag in EC's rom : Enable", "\tECO Enable.  ECO's Statuts : 0"}));
}

TEST_F(Modes, ResumeAnnouncesTheProgramAgainRebuildsTheIconsAndGivesBackTheModes) {
  Start();
  std::size_t from = Count();
  Sim({"press", "eco"});
  Until(from, "\tECO Enable.  ECO's Statuts : 0");
  from = Count();
  Sim({"press", "theater"});
  Until(from, "\tSet Theater mode Flag in EC's rom : Enable");
  // The disk switched off behind the program's back: the icon must show it after the resume.
  const int device = Register("root\\WMI:Q:Orv_Device:Device:0");
  Register("root\\WMI:S:Orv_Device:Device:0:" + std::to_string(device & ~0x80));

  from = Count();
  Sim({"sleep"});
  EXPECT_EQ(Until(from, "APMSUSPEND (BoardCast)").back(), "APMSUSPEND (BoardCast)");
  EXPECT_TRUE(WaitFor([&] { return Register("root\\WMI:Q:Orv_Software:Software:0") == 0; }))
      << "asleep, the firmware forgets the program";
  from = Count();
  Sim({"wake"});
  const LogLines resumed = Until(from, "\t If Theater mode enable, set Theater mode status in EC (Vista)");
  const LogLines expected = {"APMRESUMEAUTOMATIC (BoardCast)", "\t Register Calvex to EC", "\t Confirm HDD Function Status",
                          "\t If ECO mode enable, set ECO mode status in EC (Vista)",
                          "\t If Theater mode enable, set Theater mode status in EC (Vista)"};
  ASSERT_GE(resumed.size(), expected.size());
  EXPECT_EQ(LogLines(resumed.end() - static_cast<std::ptrdiff_t>(expected.size()), resumed.end()), expected);
  EXPECT_EQ(Register("root\\WMI:Q:Orv_Software:Software:0"), 1);
  EXPECT_EQ(SystemBits(1) & 0x05, 0x05) << "the ECO and theater bits are the firmware's again";
  EXPECT_TRUE(WaitFor([&] { return CalvexIcons() == std::vector<std::string>{"1 Calvex", "2 HDD Disable"}; }))
      << ::testing::PrintToString(CalvexIcons());
}

}  // namespace
}  // namespace traytest
