// The panel brightness through WMI, in the tray's own apartment on this thread:
// every monitor set in order until one refuses, values out of range, the read
// with a defined answer when it fails, the subscription's one message per change,
// and every thread's COM initialisations balanced on each path.
#include <gtest/gtest.h>

#include <thread>

#include "platform/wmi/sim/apartment.h"
#include "tests/level/level_fixture.h"
#include "tray/firmware/Brightness.h"

namespace leveltest {
namespace {

TEST_F(LevelTest, SetBrightnessSetsEveryMonitorInOrderUntilOneRefusesAndNothingOutOfRange) {
  const int depth = orv::com::ComInitDepth();
  Sim({"set", "monitors", "2"});
  // The two monitors' levels as the notebook reports them.
  auto levels = [&](int first, int second) {
    const std::string status = Status();
    return status.find("monitor 0: " + std::to_string(first) + "%") != std::string::npos &&
           status.find("monitor 1: " + std::to_string(second) + "%") != std::string::npos;
  };
  SetBrightness(55);
  EXPECT_TRUE(levels(55, 55)) << Status();
  // The first monitor fails: the second is not touched.
  Sim({"brightness", "refuse", "0", "on"});
  SetBrightness(30);
  EXPECT_TRUE(levels(55, 55)) << Status();
  // The second fails: the first keeps its new value.
  Sim({"brightness", "refuse", "0", "off"});
  Sim({"brightness", "refuse", "1", "on"});
  SetBrightness(40);
  EXPECT_TRUE(levels(40, 55)) << Status();
  Sim({"brightness", "refuse", "1", "off"});
  // What does not fit the method's unsigned byte changes nothing; nor does what
  // fits but is no percentage.
  for (int wrong : {256, 300, -1, 101}) {
    SCOPED_TRACE(wrong);
    SetBrightness(wrong);
    EXPECT_TRUE(levels(40, 55)) << Status();
  }
  EXPECT_EQ(orv::com::ComInitDepth(), depth);
}

TEST_F(LevelTest, GetBrightnessReadsTheFirstMonitorAndKeepsTheLastKnownWhenTheQueryFails) {
  const int depth = orv::com::ComInitDepth();
  Sim({"set", "monitors", "2"});
  Sim({"brightness", "set", "70"});
  EXPECT_EQ(GetBrightness(), 70);
  main_->m_nBrightness = 45;
  provider_.Stop();
  // No answer from WMI: the main window's last brightness, which the caller stores again.
  EXPECT_EQ(GetBrightness(), 45);
  EXPECT_EQ(orv::com::ComInitDepth(), depth);
}

TEST_F(LevelTest, TheBrightnessSubscriptionSendsOneMessagePerChangeAndLeavesApartmentsBalanced) {
  const int depth = orv::com::ComInitDepth();
  EXPECT_EQ(RegisterBrightnessEvents(), 0);
  EXPECT_EQ(orv::com::ComInitDepth(), depth);
  Sim({"brightness", "set", "60"});
  Sim({"press", "brightness-up"});
  ASSERT_TRUE(PumpUntil([&] { return main_->brightness.size() >= 2; }));
  // A third change after them: by its arrival no other message can still come for the first two.
  Sim({"brightness", "set", "30"});
  ASSERT_TRUE(PumpUntil([&] { return main_->brightness.size() >= 3; }));
  const std::vector<std::pair<WPARAM, LPARAM>> expected = {{60, 0}, {70, 0}, {30, 0}};
  EXPECT_EQ(main_->brightness, expected);
  EXPECT_EQ(main_->m_nBrightness, 30);
}

TEST_F(LevelTest, TheBrightnessSubscriptionsFailurePathsLeaveEveryApartmentAsItWas) {
  provider_.Stop();
  // On this thread, a single-threaded apartment already.
  const int depth = orv::com::ComInitDepth();
  EXPECT_EQ(RegisterBrightnessEvents(), 4) << "no connection without the notebook";
  EXPECT_EQ(orv::com::ComInitDepth(), depth);
  // On a thread outside every apartment, which the call enters and leaves again.
  int result = -1, after = -1;
  std::thread([&] {
    result = RegisterBrightnessEvents();
    after = orv::com::ComInitDepth();
  }).join();
  EXPECT_EQ(result, 4);
  EXPECT_EQ(after, 0);
}

}  // namespace
}  // namespace leveltest
