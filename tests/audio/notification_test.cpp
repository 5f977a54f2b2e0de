// Core Audio's notifications on the simulated notebook: every change of an
// endpoint's volume or mute state, whoever makes it (this program, another one,
// the notebook's keys or settings), reaches every callback registered on the
// endpoint, on a thread of the layer; device arrivals, removals and new defaults
// reach every notification client; and unregistering is safe while a call runs.
#include <atomic>
#include <chrono>

#include "tests/audio/audio_fixture.h"

namespace audiotest {
namespace {

using orv::test::Program;

constexpr GUID kMine = {0x11111111, 0x2222, 0x3333, {0x44, 0x44, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55}};
constexpr GUID kTheirs = {0xa0b1c2d3, 0xe4f5, 0x0617, {0x28, 0x39, 0x4a, 0x5b, 0x6c, 0x7d, 0x8e, 0x9f}};

class Notifications : public AudioTest {
 protected:
  std::vector<std::u16string> AllIds() {
    com_ptr<IMMDeviceCollection> c;
    EXPECT_EQ(Enumerator()->EnumAudioEndpoints(eRender, DEVICE_STATEMASK_ALL, c.put()), S_OK);
    std::vector<std::u16string> ids;
    UINT n = 0;
    c->GetCount(&n);
    for (UINT i = 0; i < n; ++i) {
      com_ptr<IMMDevice> d;
      c->Item(i, d.put());
      ids.push_back(IdOf(d.get()));
    }
    return ids;
  }
  com_ptr<IAudioEndpointVolume> VolumeById(const std::u16string& id) {
    com_ptr<IMMDevice> d;
    EXPECT_EQ(Enumerator()->GetDevice(id.c_str(), d.put()), S_OK);
    return VolumeOf(d.get());
  }
};

TEST_F(Notifications, EveryVolumeChangeReachesEveryCallbackOfTheEndpointWithTheChangersContext) {
  auto speakers = VolumeOf(DefaultEndpoint().get());
  auto first = RecordingCallback::Make(), second = RecordingCallback::Make();
  ASSERT_EQ(speakers->RegisterControlChangeNotify(first.get()), S_OK);
  EXPECT_EQ(first->AddRef(), 3u) << "the registration holds a reference";
  first->Release();

  // This program's own change, with its context, on a thread of the layer.
  ASSERT_EQ(speakers->SetMasterVolumeLevelScalar(0.3f, &kMine), S_OK);
  ASSERT_TRUE(first->WaitCount(1));
  Heard h = first->All()[0];
  EXPECT_EQ(h.volume, 0.3f);
  EXPECT_FALSE(h.muted);
  EXPECT_EQ(h.context, kMine);
  EXPECT_EQ(h.channels, 2u);
  EXPECT_EQ(h.channelVolumes, (std::vector<float>{0.3f, 0.3f}));
  EXPECT_NE(h.thread, std::this_thread::get_id());

  // The same level set again is reported again; a mute change carries the level.
  ASSERT_EQ(speakers->SetMasterVolumeLevelScalar(0.3f, nullptr), S_OK);
  ASSERT_EQ(speakers->SetMute(TRUE, nullptr), S_OK);
  ASSERT_TRUE(first->WaitCount(3));
  h = first->All()[2];
  EXPECT_TRUE(h.muted);
  EXPECT_EQ(h.volume, 0.3f);
  EXPECT_EQ(h.context, GUID{}) << "no context given: GUID_NULL";

  // Another program, the notebook's settings and its keys.
  ASSERT_EQ(speakers->RegisterControlChangeNotify(second.get()), S_OK);
  auto other = orv::test::Run({Program("audio-volume-changer"), "set", "0.6", "{A0B1C2D3-E4F5-0617-2839-4A5B6C7D8E9F}"});
  ASSERT_EQ(other.exitCode, 0) << other.err;
  Sim({"volume", "set", "40"});
  Sim({"press", "volume-up"});
  Sim({"press", "volume-mute"});
  ASSERT_TRUE(first->WaitCount(7));
  ASSERT_TRUE(second->WaitCount(4));
  auto all = first->All();
  EXPECT_EQ(all[3].volume, 0.6f);
  EXPECT_EQ(all[3].context, kTheirs);
  EXPECT_EQ(all[4].volume, 0.4f);
  EXPECT_EQ(all[5].volume, 0.42f);
  EXPECT_TRUE(all[5].muted);
  EXPECT_FALSE(all[6].muted) << "the mute key toggles";
  auto heardBySecond = second->All();
  ASSERT_EQ(heardBySecond.size(), 4u);
  EXPECT_EQ(heardBySecond[0].volume, 0.6f);

  // Unregistered, the first hears nothing more, while the second still does.
  ASSERT_EQ(speakers->UnregisterControlChangeNotify(first.get()), S_OK);
  EXPECT_EQ(first->AddRef(), 2u) << "the registration's reference was released";
  first->Release();
  EXPECT_EQ(speakers->UnregisterControlChangeNotify(first.get()), E_NOTFOUND);
  ASSERT_EQ(speakers->SetMasterVolumeLevelScalar(0.9f, nullptr), S_OK);
  ASSERT_TRUE(second->WaitCount(5));
  EXPECT_EQ(first->All().size(), 7u);
  EXPECT_EQ(speakers->UnregisterControlChangeNotify(second.get()), S_OK);
}

TEST_F(Notifications, ACallbackHearsItsOwnEndpointOnly) {
  Sim({"audio", "plug", "headphones"});
  const auto ids = AllIds();
  auto speakers = VolumeById(ids[0]), headphones = VolumeById(ids[1]);
  auto onSpeakers = RecordingCallback::Make(), onHeadphones = RecordingCallback::Make();
  ASSERT_EQ(speakers->RegisterControlChangeNotify(onSpeakers.get()), S_OK);
  ASSERT_EQ(headphones->RegisterControlChangeNotify(onHeadphones.get()), S_OK);
  // The keys and the settings act on the default endpoint, the speakers.
  Sim({"volume", "set", "20"});
  ASSERT_EQ(headphones->SetMasterVolumeLevelScalar(0.8f, nullptr), S_OK);
  ASSERT_TRUE(onHeadphones->WaitCount(1));
  ASSERT_TRUE(onSpeakers->WaitCount(1));
  EXPECT_EQ(onHeadphones->All()[0].volume, 0.8f);
  EXPECT_EQ(onSpeakers->All()[0].volume, 0.2f);
  Sim({"volume", "set", "30"});
  ASSERT_TRUE(onSpeakers->WaitCount(2));
  ASSERT_EQ(headphones->SetMute(TRUE, nullptr), S_OK);
  ASSERT_TRUE(onHeadphones->WaitCount(2));
  EXPECT_EQ(onHeadphones->All().size(), 2u);
  EXPECT_EQ(onSpeakers->All().size(), 2u);
  speakers->UnregisterControlChangeNotify(onSpeakers.get());
  headphones->UnregisterControlChangeNotify(onHeadphones.get());
}

TEST_F(Notifications, ClientsHearArrivalsRemovalsAndEveryRolesNewDefault) {
  const auto ids = AllIds();
  const std::string speakers = Narrow(ids[0].c_str()), headphones = Narrow(ids[1].c_str());
  auto e = Enumerator();
  auto client = RecordingClient::Make(), later = RecordingClient::Make();
  ASSERT_EQ(e->RegisterEndpointNotificationCallback(client.get()), S_OK);
  EXPECT_EQ(client->AddRef(), 2u) << "registering a client adds no reference";
  client->Release();

  Sim({"audio", "plug", "headphones"});
  Sim({"audio", "default", "headphones"});
  Sim({"audio", "unplug", "headphones"});
  Sim({"audio", "disable", "speakers"});
  const std::vector<std::string> expected = {
      "state " + headphones + " 1", "added " + headphones,
      "default 0 0 " + headphones, "default 0 1 " + headphones, "default 0 2 " + headphones,
      "state " + headphones + " 4", "removed " + headphones,
      "default 0 0 " + speakers, "default 0 1 " + speakers, "default 0 2 " + speakers,
      "state " + speakers + " 2", "removed " + speakers,
      "default 0 0 none", "default 0 1 none", "default 0 2 none"};
  ASSERT_TRUE(client->WaitCount(expected.size()));
  EXPECT_EQ(client->Lines(), expected);

  // Unregistered, a client hears nothing more; one registered later hears what follows.
  ASSERT_EQ(e->UnregisterEndpointNotificationCallback(client.get()), S_OK);
  ASSERT_EQ(e->RegisterEndpointNotificationCallback(later.get()), S_OK);
  Sim({"audio", "enable", "speakers"});
  ASSERT_TRUE(later->WaitCount(5));
  EXPECT_EQ(later->Lines()[0], "state " + speakers + " 1");
  EXPECT_EQ(client->Lines().size(), expected.size());
  e->UnregisterEndpointNotificationCallback(later.get());
}

TEST_F(Notifications, UnregisteringWaitsForACallInFlightAndACallbackMayUnregisterItself) {
  auto speakers = VolumeOf(DefaultEndpoint().get());
  auto busy = RecordingCallback::Make(), quitter = RecordingCallback::Make(), witness = RecordingCallback::Make();
  std::atomic<bool> unregistered{false}, overlapped{false}, ended{false};
  // The busy callback stays in its call for a while once the unregistration has
  // started; the unregistration must not return before the call has ended.
  busy->during = [&] {
    orv::test::WaitFor([&] { return unregistered.load(); }, std::chrono::milliseconds(500));
    overlapped = unregistered.load();
    ended = true;
  };
  quitter->during = [&] { EXPECT_EQ(speakers->UnregisterControlChangeNotify(quitter.get()), S_OK); };
  ASSERT_EQ(speakers->RegisterControlChangeNotify(busy.get()), S_OK);
  ASSERT_EQ(speakers->RegisterControlChangeNotify(quitter.get()), S_OK);
  ASSERT_EQ(speakers->RegisterControlChangeNotify(witness.get()), S_OK);
  ASSERT_EQ(speakers->SetMasterVolumeLevelScalar(0.1f, nullptr), S_OK);
  ASSERT_TRUE(busy->WaitCount(1));
  std::thread other([&] {
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    EXPECT_EQ(speakers->UnregisterControlChangeNotify(busy.get()), S_OK);
    unregistered = true;
    CoUninitialize();
  });
  other.join();
  ASSERT_TRUE(orv::test::WaitFor([&] { return ended.load(); }));
  EXPECT_FALSE(overlapped) << "the unregistration returned while the callback still ran";

  // The quitter unregistered itself from its own call: it heard the first change only.
  ASSERT_EQ(speakers->SetMasterVolumeLevelScalar(0.2f, nullptr), S_OK);
  ASSERT_TRUE(witness->WaitCount(2));
  EXPECT_EQ(quitter->All().size(), 1u);
  EXPECT_EQ(busy->All().size(), 1u);
  speakers->UnregisterControlChangeNotify(witness.get());
}

}  // namespace
}  // namespace audiotest
