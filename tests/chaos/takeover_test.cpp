// Each program killed outright, and what it leaves taken over by the next one:
// the service's pipe socket and lock, the tray's session mutex and desktop
// socket, the provider's socket, lock and state file; settings writers killed
// mid-write; and a tray that starts while the firmware is away.
#include <gtest/gtest.h>

#include <unistd.h>

#include <csignal>
#include <random>
#include <thread>

#include "platform/home/sim/home.h"
#include "tests/chaos/state_checks.h"
#include "tests/osd/osd_support.h"
#include "tests/tray/tray_fixture.h"

namespace chaostest {
namespace {

using orv::test::Child;
using orv::test::Program;

constexpr char kRegistered[] = "root\\WMI:Q:Orv_Software:Software:0";
constexpr char kDevice0[] = "root\\WMI:Q:Orv_Device:Device:0";

class Takeover : public traytest::Notebook {
 protected:
  // Presses the key until a display comes up over the centre of its picture.
  bool PressShows(const std::string& key, const char* picture) {
    orv::gfx::Surface icon = osdtest::Picture(picture);
    const int x = traytest::SlotX(1, icon.width) + icon.width / 2, y = traytest::SlotY(icon.height) + icon.height / 2;
    return orv::test::WaitFor([&] {
      const std::uint64_t before = LastEntry();
      Sim({"press", key});
      return orv::test::WaitFor([&] {
        for (const auto& e : Journal())
          if (e.seq > before && e.shown && x >= e.rect.left && x < e.rect.right && y >= e.rect.top && y < e.rect.bottom)
            return true;
        return false;
      }, std::chrono::seconds(3));
    });
  }
};

TEST_F(Takeover, AKilledPipeServerLeavesNothingThatHoldsUpTheNext) {
  {
    Child server({Program("OrvService"), "-debug"});
    ASSERT_TRUE(orv::test::WaitFor([] { return !AskService(kDevice0).empty(); }));
    server.Signal(SIGKILL);
    server.Wait();
  }
  // Its socket and its lock are still there, and nobody answers on them.
  EXPECT_EQ(access(orv::home::Path("pipe/simple").c_str(), F_OK), 0);
  EXPECT_EQ(AskService(kDevice0), "");
  Child next({Program("OrvService"), "-debug"});
  ASSERT_TRUE(orv::test::WaitFor([] { return !AskService(kDevice0).empty(); }));
  EXPECT_EQ(AskService("root\\WMI:Q:Orv_Device:Device:1"), "128");
}

TEST_F(Takeover, AKilledTrayIsFollowedByACopyThatRegistersAndShows) {
  InstallService();
  StartCalvex();
  calvex_->Signal(SIGKILL);
  calvex_->Wait();
  // The session mutex and the desktop's socket of the killed copy hold up nothing.
  StartCalvex();
  EXPECT_EQ(RunningPrograms("Calvex").size(), 1u);
  EXPECT_TRUE(PressShows("webcam", "ICON/WebCam_Disable.png"));
}

TEST_F(Takeover, ATrayStartedWhileTheFirmwareIsAwayRegistersAndHearsItOnceItIsBack) {
  InstallService();
  SetLogFlag("TRUE");
  Sim({"stop"});
  calvex_ = std::make_unique<Child>(std::vector<std::string>{Program("Calvex")});
  calvexPid_ = calvex_->pid();
  // The service answers, but with the failure of a firmware that is away.
  ASSERT_TRUE(orv::test::WaitFor([&] { return LogText().find("\t Set Timer to Hide Windows") != std::string::npos; }));
  const std::string reply = AskService(kRegistered);
  EXPECT_TRUE(!reply.empty() && reply.find_first_not_of("0123456789") != std::string::npos) << reply;
  Sim({"start"});
  ASSERT_TRUE(orv::test::WaitFor([&] { return Register(kRegistered) == 1; }));
  AwaitDesktop();
  EXPECT_TRUE(PressShows("webcam", "ICON/WebCam_Disable.png"));
}

TEST_F(Takeover, AProviderKilledWhileItWritesItsStateLeavesItWholeAndIsFollowedByTheNext) {
  Sim({"stop"});
  std::mt19937 random(20240611);
  for (int round = 0; round < 6; ++round) {
    Child provider({Program("orv-firmware")});
    ASSERT_TRUE(orv::test::WaitFor([] { return orv::test::Run({Program("orv-sim"), "status"}).exitCode == 0; }))
        << "round " << round << ": the provider did not take over what the last one left";
    std::atomic<bool> stop{false};
    std::atomic<int> written{0};
    std::thread writes([&] {
      for (int n = 0; !stop; ++n, ++written)
        orv::test::Run({Program("orv-sim"), "brightness", "set", std::to_string(n % 101)});
    });
    // Killed after a random number of writes, while the next one is under way.
    const int after = 1 + static_cast<int>(random() % 8);
    ASSERT_TRUE(orv::test::WaitFor([&] { return written >= after; })) << "round " << round;
    provider.Signal(SIGKILL);
    provider.Wait();
    stop = true;
    writes.join();
    EXPECT_EQ(TornFiles(), std::vector<std::string>{}) << "round " << round;
  }
}

TEST_F(Takeover, ASettingsWriterKilledMidWriteLeavesEveryValueWhole) {
  std::mt19937 random(7);
  for (int round = 0; round < 8; ++round) {
    Child writer({Program("chaos_settings_writer")});
    // Killed after a random number of written pairs, in the middle of the next.
    const std::size_t after = 1 + random() % 6;
    ASSERT_TRUE(orv::test::WaitFor([&] { return WrittenPairs(writer) >= after; })) << "round " << round;
    writer.Signal(SIGKILL);
    writer.Wait();
    EXPECT_EQ(TornFiles(), std::vector<std::string>{}) << "round " << round;
  }
}

}  // namespace
}  // namespace chaostest
