// The panel brightness through WMI, in the tray's own apartment on this thread:
// every monitor set in order until one refuses, values out of range, the read
// with a defined answer when it fails, the subscription's one message per change,
// the subscription's status for each step that fails, and every thread's COM
// initialisations balanced on each path.
#include <gtest/gtest.h>
#include <wbemidl.h>

#include <cstdio>
#include <string>
#include <thread>
#include <utility>
#include <vector>


#include "platform/wmi/sim/apartment.h"
#include "platform/wmi/sim/faults.h"
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

// The subscription's status on this thread (a single-threaded apartment already)
// and on a thread outside every apartment, which the call enters and leaves
// again; each thread's apartment is as it was before, on every path.
void ExpectStatusOnEveryThread(int status) {
  const int depth = orv::com::ComInitDepth();
  EXPECT_EQ(RegisterBrightnessEvents(), status);
  EXPECT_EQ(orv::com::ComInitDepth(), depth);
  int result = -1, after = -1;
  std::thread([&] {
    result = RegisterBrightnessEvents();
    after = orv::com::ComInitDepth();
  }).join();
  EXPECT_EQ(result, status);
  EXPECT_EQ(after, 0);
}

TEST_F(LevelTest, TheBrightnessSubscriptionsStatusNamesTheStepThatFailedAndLeavesEveryApartmentAsItWas) {
  {
    SCOPED_TRACE("no WMI locator on the machine: 3");
    orv::com::RefuseClass(CLSID_WbemLocator, true);
    ExpectStatusOnEveryThread(3);
    orv::com::RefuseClass(CLSID_WbemLocator, false);
  }
  {
    SCOPED_TRACE("a proxy that refuses the security blanket: 5");
    orv::com::RefuseProxyBlanket(true);
    ExpectStatusOnEveryThread(5);
    orv::com::RefuseProxyBlanket(false);
  }
  {
    SCOPED_TRACE("no brightness events on the machine: 1, with the trace line");
    orv::wmi::RefuseEventClass("WmiMonitorBrightnessEvent", true);
    testing::internal::CaptureStdout();
    ExpectStatusOnEveryThread(1);
    std::fflush(stdout);
    const std::string trace = testing::internal::GetCapturedStdout();
    EXPECT_EQ(trace, "ExecNotificationQueryAsync failed with = 0x80041010\n"
                     "ExecNotificationQueryAsync failed with = 0x80041010\n");
    orv::wmi::RefuseEventClass("WmiMonitorBrightnessEvent", false);
    // No subscription was left: a change reaches no one.
    Sim({"brightness", "set", "40"});
    EXPECT_EQ(RegisterBrightnessEvents(), 0) << "the classes are back";
    Sim({"brightness", "set", "50"});
    ASSERT_TRUE(PumpUntil([&] { return !main_->brightness.empty(); }));
    EXPECT_EQ(main_->brightness, (std::vector<std::pair<WPARAM, LPARAM>>{{50, 0}}));
  }
  {
    SCOPED_TRACE("no notebook to connect to: 4");
    provider_.Stop();
    ExpectStatusOnEveryThread(4);
  }
}

}  // namespace
}  // namespace leveltest
