// The overheat alarms end to end: the real provider, service and Calvex; the
// dialogs read back from the desktop's windows and its record of their
// controls' texts, the notebook's power from the simulator.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "platform/desktop/sim/frame_server.h"
#include "tests/tray/tray_fixture.h"

namespace traytest {
namespace {

using orv::test::Program;
using orv::test::WaitFor;

constexpr char kTitle[] = "Overheat Protection";
constexpr int kCountdown = 1029, kMessage = 1028;
constexpr unsigned kAcRestored = 0x046E;

class Overheat : public Notebook {
 protected:
  void SetUp() override {
    Notebook::SetUp();
    SetLogFlag("TRUE");
    InstallService();
    StartCalvex();
  }
  // The overheat dialogs on the screen, by their window lines.
  int Dialogs() {
    int n = 0;
    std::istringstream lines(orv::test::Run({Program("orv-desktop"), "windows"}).out);
    for (std::string line; std::getline(lines, line);)
      n += line.size() >= sizeof kTitle - 1 && line.compare(line.size() - (sizeof kTitle - 1), std::string::npos, kTitle) == 0;
    return n;
  }
  bool WaitDialogs(int n) { return WaitFor([&] { return Dialogs() == n; }, std::chrono::seconds(60)); }
  // The texts the controls of one id were given, in order, per dialog window.
  std::vector<std::vector<std::string>> TextsOf(int control) {
    std::vector<orv::desktop::TextEntry> entries;
    std::vector<std::uintptr_t> windows;
    std::vector<std::vector<std::string>> out;
    if (orv::desktop::RequestTexts(&entries) != orv::gfx::Ok) return out;
    for (const auto& e : entries) {
      if (e.control != control) continue;
      std::size_t i = 0;
      while (i < windows.size() && windows[i] != e.window) ++i;
      if (i == windows.size()) windows.push_back(e.window), out.emplace_back();
      out[i].push_back(e.text);
    }
    return out;
  }
  bool CountedTo(int last, int dialog = 0) {
    auto texts = TextsOf(kCountdown);
    if (static_cast<int>(texts.size()) <= dialog) return false;
    std::vector<std::string> want;
    for (int s = 10; s >= last; --s) want.push_back(std::to_string(s) + " Seconds.");
    return texts[dialog] == want;
  }
  std::string Status() { return SimStatus(); }
  bool Hibernated() { return Status().find("System          hibernated") != std::string::npos; }
};

TEST_F(Overheat, StageTwoCountsDownAndHibernates) {
  Sim({"thermal", "s4-stage2"});
  ASSERT_TRUE(WaitDialogs(1));
  EXPECT_EQ(TextsOf(kMessage).at(0).back(),
            "Please plug AC adaptor within 10 seconds. \r\nOr, system will into Hibernation mode.");
  // 10 ... 1, then "0 Seconds." as the countdown ends.
  ASSERT_TRUE(WaitFor([&] { return CountedTo(0); }, std::chrono::seconds(90)));
  ASSERT_TRUE(WaitFor([&] { return Hibernated(); }, std::chrono::seconds(30)));
  EXPECT_TRUE(WaitDialogs(0));
  // The programs heard of the suspend, the screen is dark and the EC forgot Calvex.
  EXPECT_TRUE(WaitFor([&] { return LogText().find("APMSUSPEND (BoardCast)") != std::string::npos; }));
  EXPECT_TRUE(WaitFor([&] { return Screenshot().At(640, 400) == 0xFF000000u; }));
  EXPECT_EQ(Register("root\\WMI:Q:Orv_Software:Software:0"), 0);
  // A second alarm after the countdown opens a dialog again: its flag was cleared.
  Sim({"wake"});
  EXPECT_TRUE(WaitFor([&] { return Screenshot().At(640, 400) != 0xFF000000u; }));
  EXPECT_NE(Status().find("System          running"), std::string::npos);
  Sim({"thermal", "s4-stage2"});
  EXPECT_TRUE(WaitDialogs(1));
}

TEST_F(Overheat, AcPowerAtFourSecondsLeftClosesWithoutHibernation) {
  Sim({"thermal", "s4-stage2"});
  ASSERT_TRUE(WaitDialogs(1));
  ASSERT_TRUE(WaitFor([&] { return CountedTo(4); }, std::chrono::seconds(60)));
  // A second stage-2 alarm during the countdown opens nothing.
  Sim({"thermal", "s4-stage2"});
  ASSERT_TRUE(WaitFor([&] {
    const std::string log = LogText();
    std::size_t n = 0;
    for (std::size_t at = log.find("S4 Satge 2 WMIevent"); at != std::string::npos; at = log.find("S4 Satge 2", at + 1)) ++n;
    return n == 2;
  }));
  EXPECT_EQ(Dialogs(), 1);
  ASSERT_EQ(orv::test::Run({Program("orv-desktop"), "post", kTitle, std::to_string(kAcRestored), "2", "0"}).exitCode, 0);
  ASSERT_TRUE(WaitDialogs(0));
  auto texts = TextsOf(kCountdown);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_NE(texts[0].back(), "0 Seconds.");
  EXPECT_FALSE(Hibernated());
  // The closed dialog cleared its own flag: the next alarm warns again.
  Sim({"thermal", "s4-stage2"});
  EXPECT_TRUE(WaitDialogs(1));
}

TEST_F(Overheat, StageOneClosesItselfWithNoPowerAction) {
  Sim({"thermal", "s4-stage1"});
  ASSERT_TRUE(WaitDialogs(1));
  EXPECT_EQ(TextsOf(kMessage).at(0).back(),
            "Please plug AC adaptor soon!! \r\nThis windows will colse by itself within 10 seconds.");
  ASSERT_TRUE(WaitFor([&] { return CountedTo(0); }, std::chrono::seconds(90)));
  EXPECT_TRUE(WaitDialogs(0));
  EXPECT_NE(Status().find("System          running"), std::string::npos);
}

TEST_F(Overheat, TwoS3AlarmsOpenTwoDialogsAndEscClosesThem) {
  Sim({"thermal", "s3"});
  ASSERT_TRUE(WaitDialogs(1));
  Sim({"thermal", "s3"});
  ASSERT_TRUE(WaitDialogs(2));
  EXPECT_EQ(TextsOf(kMessage).size(), 2u);
  EXPECT_EQ(TextsOf(kMessage).at(1).back(), "System will into Sleep mode.");
  EXPECT_TRUE(TextsOf(kCountdown).empty());
  ASSERT_EQ(orv::test::Run({Program("orv-desktop"), "key", "esc"}).exitCode, 0);
  ASSERT_TRUE(WaitDialogs(1));
  ASSERT_EQ(orv::test::Run({Program("orv-desktop"), "key", "esc"}).exitCode, 0);
  ASSERT_TRUE(WaitDialogs(0));
  EXPECT_NE(Status().find("System          running"), std::string::npos);
}

TEST_F(Overheat, AStageOneDialogClosedWithEscLeavesNoFlagBehind) {
  Sim({"thermal", "s4-stage1"});
  ASSERT_TRUE(WaitDialogs(1));
  ASSERT_EQ(orv::test::Run({Program("orv-desktop"), "key", "esc"}).exitCode, 0);
  ASSERT_TRUE(WaitDialogs(0));
  Sim({"thermal", "s4-stage1"});
  EXPECT_TRUE(WaitDialogs(1));
}

}  // namespace
}  // namespace traytest
