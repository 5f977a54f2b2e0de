// The volume object's Core Audio references and registrations, counted by the
// simulated backend: each object it takes is given back and each registration is
// held once, while the watch moves over endpoints that come and go (a gone one
// can no longer be activated) and once the object has gone.
#include <gtest/gtest.h>

#include "platform/audio/sim/census.h"
#include "tests/level/level_fixture.h"
#include "tray/audio/KvVolume.h"

namespace leveltest {
namespace {

using orv::audio::ClientRegistrations;
using orv::audio::LiveObjects;
using orv::audio::VolumeRegistrations;

// Waits until the backend holds this many objects beyond `base` and this many
// volume registrations (the watch moves on Core Audio's thread).
bool Settled(int base, int objects, int registrations) {
  return orv::test::WaitFor(
      [&] { return LiveObjects() == base + objects && VolumeRegistrations() == registrations; });
}

TEST_F(LevelTest, EveryCoreAudioReferenceAndRegistrationIsGivenBackAsTheWatchMovesAndWhenTheObjectGoes) {
  const int base = LiveObjects();
  const int clients = ClientRegistrations();
  const int volumes = VolumeRegistrations();
  Sim({"volume", "set", "20"});
  {
    CKvVolume volume;
    EXPECT_EQ(ClientRegistrations(), clients + 1);
    // Its enumerator, the tracked speakers and their endpoint volume.
    EXPECT_TRUE(Settled(base, 3, volumes + 1)) << LiveObjects() - base << " objects";
    EXPECT_EQ(volume.GetVolume(), 20);
    volume.SetVolume(30);
    EXPECT_FALSE(volume.GetMute());
    EXPECT_TRUE(Settled(base, 3, volumes + 1)) << "the getters' endpoints stay behind";

    // The headphones take the watch; the client has made its own enumerator.
    Sim({"audio", "plug", "headphones"});
    EXPECT_TRUE(Settled(base, 4, volumes + 1)) << LiveObjects() - base << " objects";
    // Unplugged, they cannot be activated any more: the registration on them
    // still goes, and the watch is back on the speakers.
    Sim({"audio", "unplug", "headphones"});
    EXPECT_TRUE(Settled(base, 4, volumes + 1)) << VolumeRegistrations() << " registrations";
    // No endpoint at all: no watch.
    Sim({"audio", "disable", "speakers"});
    EXPECT_TRUE(Settled(base, 2, volumes)) << VolumeRegistrations() << " registrations";
    Sim({"audio", "enable", "speakers"});
    EXPECT_TRUE(Settled(base, 4, volumes + 1));

    // Plugged again and made the default: each change of theirs is heard once.
    Sim({"audio", "plug", "headphones"});
    Sim({"audio", "default", "headphones"});
    EXPECT_TRUE(Settled(base, 4, volumes + 1)) << VolumeRegistrations() << " registrations";
    Sim({"volume", "set", "70"});
    ASSERT_TRUE(PumpUntil([&] { return !main_->audio.empty(); }));
    Sim({"volume", "set", "60"});
    ASSERT_TRUE(PumpUntil([&] { return main_->audio.back().second == 60; }));
    const std::vector<std::pair<WPARAM, LPARAM>> heard = {{0, 70}, {0, 60}};
    EXPECT_EQ(main_->audio, heard);
  }
  EXPECT_EQ(ClientRegistrations(), clients);
  EXPECT_EQ(VolumeRegistrations(), volumes);
  EXPECT_TRUE(Settled(base, 0, volumes)) << LiveObjects() - base << " objects left";
}

}  // namespace
}  // namespace leveltest
