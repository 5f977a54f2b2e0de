// The control program as a user runs it: start and stop (both idempotent), the
// state print, acting on the firmware, bad arguments and a damaged state file.
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "platform/home/sim/home.h"
#include "sim/launcher.h"
#include "tests/support/process.h"

namespace orv::test {
namespace {

RunResult Sim(std::vector<std::string> args) {
  args.insert(args.begin(), Program("orv-sim"));
  return orv::test::Run(args);
}

TEST(OrvSim, StartStopStatusAndActions) {
  TempHome home;
  EXPECT_EQ(Sim({"status"}).exitCode, 1);  // nothing runs yet
  auto start = Sim({"start"});
  ASSERT_EQ(start.exitCode, 0) << start.err;
  EXPECT_EQ(Sim({"start"}).exitCode, 0);  // already running: fine
  EXPECT_TRUE(sim::ProviderRunning());

  EXPECT_EQ(Sim({"press", "wireless"}).exitCode, 0);
  EXPECT_EQ(Sim({"set", "bios", "X1.00.QT", "Maker"}).exitCode, 0);
  EXPECT_EQ(Sim({"ac", "unplug"}).exitCode, 0);
  EXPECT_EQ(Sim({"battery", "42"}).exitCode, 0);
  auto status = Sim({"status"});
  ASSERT_EQ(status.exitCode, 0);
  EXPECT_NE(status.out.find("0x83  wireless off"), std::string::npos) << status.out;
  EXPECT_NE(status.out.find("\"X1.00.QT\", manufacturer \"Maker\""), std::string::npos) << status.out;
  EXPECT_NE(status.out.find("AC offline (0), battery 42%"), std::string::npos) << status.out;

  for (auto bad : std::vector<std::vector<std::string>>{
           {"press"}, {"press", "nothing"}, {"radio", "maybe"}, {"thermal", "s5"}, {"brightness", "set", "101"},
           {"brightness", "set", "-1"}, {"set", "asl", "x"}, {"set", "monitors", "0"}, {"raw", "event", "0x1FFFFFFFF"},
           {"battery", "101"}, {"fly"}, {}}) {
    auto r = Sim(bad);
    EXPECT_EQ(r.exitCode, 2) << (bad.empty() ? "" : bad[0]);
    EXPECT_NE(r.err.find("usage: orv-sim"), std::string::npos);
  }
  EXPECT_EQ(Sim({"help"}).exitCode, 0);

  EXPECT_EQ(Sim({"stop"}).exitCode, 0);
  EXPECT_FALSE(sim::ProviderRunning());
  EXPECT_EQ(Sim({"stop"}).exitCode, 0);
  EXPECT_EQ(Sim({"press", "wireless"}).exitCode, 1);  // good command, nobody to run it
}

TEST(OrvSim, DamagedStateFileIsReportedAndDefaultsServed) {
  TempHome home;
  home::MakeDirs(home::Path("wmi"));
  std::ofstream(home::Path("wmi/firmware.state")) << "device0=999\n";
  ASSERT_EQ(Sim({"start"}).exitCode, 0);
  auto status = Sim({"status"});
  EXPECT_NE(status.out.find("0x8B"), std::string::npos) << status.out;
  EXPECT_EQ(Sim({"stop"}).exitCode, 0);
  std::ifstream log(home::Path("wmi/firmware.log"));
  std::stringstream text;
  text << log.rdbuf();
  EXPECT_NE(text.str().find("is damaged (line 1: bad value \"999\" for device0)"), std::string::npos) << text.str();
}

TEST(OrvSim, OneProviderPerStateFolder) {
  TempHome home;
  Child first({Program("orv-firmware")});
  ASSERT_TRUE(WaitFor([] { return sim::ProviderRunning(); }));
  auto second = orv::test::Run({Program("orv-firmware")});
  EXPECT_EQ(second.exitCode, 1);
  EXPECT_NE(second.err.find("another firmware provider is running"), std::string::npos) << second.err;
  EXPECT_EQ(orv::test::Run({Program("orv-firmware"), "--bogus"}).exitCode, 2);
}

}  // namespace
}  // namespace orv::test
