// The volume object on the simulated notebook's endpoints, in the tray's own
// apartment on this thread: the master scalar as a percent on every path, every
// percent round trip, the watch moving with the devices while the level stays
// with the default, no endpoint at all, and a teardown during a flood of changes.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>

#include "tests/level/level_fixture.h"
#include "tray/audio/KvVolume.h"
#include "tray/audio/volume_scale.h"

namespace leveltest {
namespace {

using orv::test::Program;

// Deletes the volume object on this thread within a generous bound: a teardown
// that waits for ever ends the test with its own message, not the run's time-out.
void DeleteWithinBound(std::unique_ptr<CKvVolume>& volume) {
  std::mutex lock;
  std::condition_variable ended;
  bool done = false;
  std::thread watchdog([&] {
    std::unique_lock<std::mutex> hold(lock);
    if (!ended.wait_for(hold, std::chrono::seconds(60), [&] { return done; })) {
      std::fprintf(stderr, "the volume object's teardown never ended: it waits on a change sent to this thread\n");
      std::fflush(stderr);
      std::_Exit(1);
    }
  });
  volume.reset();
  {
    std::lock_guard<std::mutex> hold(lock);
    done = true;
  }
  ended.notify_all();
  watchdog.join();
}

TEST_F(LevelTest, MasterScalarsBecomeTheNearestPercentHalvesUpInTheMessageAndInGetVolume) {
  struct Case {
    const char* scalar;  // as another program sets it
    float value;
    int percent;
  };
  const Case cases[] = {{"0.994", 0.994f, 99}, {"0.995", 0.995f, 100}, {"0.005", 0.005f, 0},
                        {"0.0051", 0.0051f, 1}, {"0.7", 0.7f, 70},     {"1.0", 1.0f, 100}};
  CKvVolume volume;
  EXPECT_EQ(main_->m_nVolume, 50) << "the attach step writes the level";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.scalar);
    EXPECT_EQ(ScalarToPercent(c.value), c.percent);
    const std::size_t before = main_->audio.size();
    auto r = orv::test::Run({Program("audio-volume-changer"), "set", c.scalar});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    ASSERT_TRUE(PumpUntil([&] { return main_->audio.size() > before; }));
    EXPECT_EQ(main_->audio[before].first, 0u);
    EXPECT_EQ(main_->audio[before].second, c.percent);
    EXPECT_EQ(volume.GetVolume(), c.percent);
  }
  EXPECT_EQ(ScalarToPercent(0.0f), 0);
}

TEST_F(LevelTest, EveryPercentRoundTripsThroughSetVolumeGetVolumeAndOneMessageEach) {
  CKvVolume volume;
  for (int p = 0; p <= 100; ++p) {
    SCOPED_TRACE(p);
    volume.SetVolume(p);
    EXPECT_EQ(volume.GetVolume(), p);
    // This program's own change comes back like any other, one message each.
    ASSERT_TRUE(PumpUntil([&] { return main_->audio.size() == static_cast<std::size_t>(p) + 1; }));
    EXPECT_EQ(main_->audio[p].first, 0u);
    EXPECT_EQ(main_->audio[p].second, p);
    EXPECT_EQ(main_->m_nVolume, p);
  }
  // Muting from the volume control: mute 1 at the unchanged level.
  Sim({"volume", "mute", "on"});
  ASSERT_TRUE(PumpUntil([&] { return main_->audio.size() == 102; }));
  EXPECT_EQ(main_->audio[101], std::make_pair(WPARAM{1}, LPARAM{100}));
  EXPECT_TRUE(volume.GetMute());
}

TEST_F(LevelTest, APluggedEndpointTakesTheWatchWhileGetAndSetVolumeStayWithTheDefault) {
  Sim({"volume", "set", "20"});
  CKvVolume volume;
  EXPECT_EQ(main_->m_nVolume, 20);
  // The headphones arrive (not the default): the watch moves to them and their
  // level is written without a message.
  Sim({"audio", "plug", "headphones"});
  ASSERT_TRUE(PumpUntil([&] { return main_->m_nVolume == 50; }));
  volume.SetVolume(80);
  EXPECT_EQ(volume.GetVolume(), 80);
  EXPECT_NE(Status().find("speakers   active, volume 80%"), std::string::npos) << Status();
  // A change of the headphones is heard; the speakers' change before it was not.
  Sim({"audio", "default", "headphones"});
  Sim({"volume", "set", "70"});
  ASSERT_TRUE(PumpUntil([&] { return !main_->audio.empty(); }));
  EXPECT_EQ(main_->audio.front(), std::make_pair(WPARAM{0}, LPARAM{70}));
  EXPECT_EQ(volume.GetVolume(), 70);
  // Unplugged: the watch goes back to the default, the speakers at 80, silently.
  Sim({"audio", "unplug", "headphones"});
  ASSERT_TRUE(PumpUntil([&] { return main_->m_nVolume == 80; }));
  EXPECT_EQ(volume.GetVolume(), 80);
  Sim({"volume", "set", "10"});
  ASSERT_TRUE(PumpUntil([&] { return main_->audio.size() == 2; }));
  EXPECT_EQ(main_->audio[1], std::make_pair(WPARAM{0}, LPARAM{10}));
}

TEST_F(LevelTest, WithNoEndpointMuteIsFalseSetVolumeDoesNothingAndGetVolumeKeepsTheLastLevel) {
  Sim({"volume", "set", "30"});
  Sim({"volume", "mute", "on"});
  Sim({"audio", "disable", "speakers"});
  main_->m_nVolume = 37;
  main_->m_bMute = true;
  CKvVolume volume;
  EXPECT_EQ(main_->m_nVolume, 37) << "no endpoint to attach to";
  EXPECT_TRUE(main_->m_bMute);
  EXPECT_FALSE(volume.GetMute());
  // A defined level: the last one the main window knows, which its callers store again.
  EXPECT_EQ(volume.GetVolume(), 37);
  volume.SetVolume(90);
  Sim({"audio", "enable", "speakers"});
  EXPECT_NE(Status().find("speakers   active, volume 30% (0.300000012), muted"), std::string::npos) << Status();
  // The speakers, back as the default, are watched again.
  ASSERT_TRUE(PumpUntil([&] { return main_->m_nVolume == 30; }));
  EXPECT_TRUE(volume.GetMute());
  EXPECT_TRUE(main_->audio.empty());
}

TEST_F(LevelTest, DeletingTheVolumeObjectDuringAFloodOfChangesNeverWaitsForever) {
  orv::test::Child flood({Program("audio-volume-changer"), "flood"});
  ASSERT_TRUE(orv::test::WaitFor([&] { return flood.Output().find("flooding") != std::string::npos; }));
  for (int round = 0; round < 5; ++round) {
    SCOPED_TRACE(round);
    const std::size_t before = main_->audio.size();
    auto volume = std::make_unique<CKvVolume>();
    // Changes are arriving, each sent to this thread and waited for, when the object goes.
    ASSERT_TRUE(PumpUntil([&] { return main_->audio.size() > before + 10; }));
    DeleteWithinBound(volume);
    // Nothing is sent any more once it has gone.
    const std::size_t after = main_->audio.size();
    PumpUntil([] { return true; });
    EXPECT_EQ(main_->audio.size(), after);
  }
  flood.Signal(SIGTERM);
  flood.Wait();
}

}  // namespace
}  // namespace leveltest
