// Core Audio's device enumerator and endpoint volume on the simulated notebook:
// which endpoints there are and which is the default as the notebook changes,
// the volume and mute state read and written, and the answers of each call to
// arguments it refuses and to an endpoint that has gone.
#include <audioclient.h>
#include <functiondiscoverykeys_devpkey.h>

#include <cmath>
#include <limits>

#include "tests/audio/audio_fixture.h"

namespace audiotest {
namespace {

// The IDs of a collection, in order.
std::vector<std::u16string> Ids(IMMDeviceCollection* devices) {
  std::vector<std::u16string> ids;
  UINT n = 0;
  EXPECT_EQ(devices->GetCount(&n), S_OK);
  for (UINT i = 0; i < n; ++i) {
    com_ptr<IMMDevice> d;
    EXPECT_EQ(devices->Item(i, d.put()), S_OK);
    LPWSTR id = nullptr;
    EXPECT_EQ(d->GetId(&id), S_OK);
    ids.emplace_back(id);
    CoTaskMemFree(id);
  }
  return ids;
}

class Endpoints : public AudioTest {
 protected:
  std::vector<std::u16string> Listed(DWORD mask) {
    com_ptr<IMMDeviceCollection> devices;
    EXPECT_EQ(Enumerator()->EnumAudioEndpoints(eRender, mask, devices.put()), S_OK);
    return devices ? Ids(devices.get()) : std::vector<std::u16string>();
  }
};

TEST_F(Endpoints, TheSpeakersAreTheDefaultUntilTheNotebookChangesItAndEveryRoleHasTheSameOne) {
  const auto all = Listed(DEVICE_STATEMASK_ALL);
  ASSERT_EQ(all.size(), 2u) << "the speakers and the headphone jack";
  const std::u16string speakers = all[0], headphones = all[1];
  EXPECT_EQ(Listed(DEVICE_STATE_ACTIVE), std::vector<std::u16string>{speakers});
  EXPECT_EQ(Listed(DEVICE_STATE_NOTPRESENT), std::vector<std::u16string>{headphones});
  auto e = Enumerator();
  for (ERole role : {eConsole, eMultimedia, eCommunications}) {
    com_ptr<IMMDevice> d;
    ASSERT_EQ(e->GetDefaultAudioEndpoint(eRender, role, d.put()), S_OK);
    EXPECT_EQ(IdOf(d.get()), speakers);
  }

  // Plugged in, the headphones are there but not the default, until made it.
  Sim({"audio", "plug", "headphones"});
  EXPECT_EQ(Listed(DEVICE_STATE_ACTIVE), (std::vector<std::u16string>{speakers, headphones}));
  EXPECT_EQ(IdOf(DefaultEndpoint().get()), speakers);
  Sim({"audio", "default", "headphones"});
  EXPECT_EQ(IdOf(DefaultEndpoint().get()), headphones);
  // Unplugged while the default, the default passes back to the speakers.
  Sim({"audio", "unplug", "headphones"});
  EXPECT_EQ(IdOf(DefaultEndpoint().get()), speakers);

  // With the speakers disabled too, no endpoint is there and none is the default.
  Sim({"audio", "disable", "speakers"});
  EXPECT_TRUE(Listed(DEVICE_STATE_ACTIVE).empty());
  EXPECT_EQ(Listed(DEVICE_STATE_DISABLED), std::vector<std::u16string>{speakers});
  com_ptr<IMMDevice> none;
  EXPECT_EQ(e->GetDefaultAudioEndpoint(eRender, eMultimedia, none.put()), E_NOTFOUND);
  EXPECT_FALSE(none);
  // A device that comes while there is no default becomes it.
  Sim({"audio", "plug", "headphones"});
  EXPECT_EQ(IdOf(DefaultEndpoint().get()), headphones);
}

TEST_F(Endpoints, DevicesByIdStateAndNameAndTheCallsThatAreRefused) {
  auto e = Enumerator();
  const auto all = Listed(DEVICE_STATEMASK_ALL);
  ASSERT_EQ(all.size(), 2u);
  com_ptr<IMMDevice> headphones;
  ASSERT_EQ(e->GetDevice(all[1].c_str(), headphones.put()), S_OK);
  EXPECT_EQ(IdOf(headphones.get()), all[1]);
  DWORD state = 0;
  ASSERT_EQ(headphones->GetState(&state), S_OK);
  EXPECT_EQ(state, static_cast<DWORD>(DEVICE_STATE_NOTPRESENT));

  com_ptr<IPropertyStore> store;
  ASSERT_EQ(headphones->OpenPropertyStore(STGM_READ, store.put()), S_OK);
  PROPVARIANT name;
  PropVariantInit(&name);
  ASSERT_EQ(store->GetValue(PKEY_Device_FriendlyName, &name), S_OK);
  ASSERT_EQ(name.vt, VT_LPWSTR);
  EXPECT_EQ(Narrow(name.pwszVal), "Headphones (Orv High Definition Audio)");
  EXPECT_EQ(PropVariantClear(&name), S_OK);
  EXPECT_EQ(name.vt, VT_EMPTY);
  EXPECT_EQ(store->SetValue(PKEY_Device_FriendlyName, name), STG_E_ACCESSDENIED);
  com_ptr<IPropertyStore> writable;
  EXPECT_EQ(headphones->OpenPropertyStore(STGM_READWRITE, writable.put()), E_ACCESSDENIED);

  com_ptr<IMMDevice> d;
  EXPECT_EQ(e->GetDevice(u"{0.0.0.00000000}.{no-such-device}", d.put()), E_NOTFOUND);
  EXPECT_EQ(e->GetDevice(nullptr, d.put()), E_POINTER);
  EXPECT_EQ(e->GetDefaultAudioEndpoint(eCapture, eConsole, d.put()), E_NOTFOUND) << "the notebook records nothing";
  EXPECT_EQ(e->GetDefaultAudioEndpoint(eAll, eConsole, d.put()), E_INVALIDARG);
  EXPECT_EQ(e->GetDefaultAudioEndpoint(eRender, ERole_enum_count, d.put()), E_INVALIDARG);
  com_ptr<IMMDeviceCollection> c;
  EXPECT_EQ(e->EnumAudioEndpoints(eRender, 0x10, c.put()), E_INVALIDARG);
  ASSERT_EQ(e->EnumAudioEndpoints(eCapture, DEVICE_STATEMASK_ALL, c.put()), S_OK);
  EXPECT_TRUE(Ids(c.get()).empty());
  EXPECT_EQ(e->RegisterEndpointNotificationCallback(nullptr), E_POINTER);
  auto client = RecordingClient::Make();
  EXPECT_EQ(e->UnregisterEndpointNotificationCallback(client.get()), E_NOTFOUND);

  // An endpoint that is not there has no volume to activate.
  com_ptr<IAudioEndpointVolume> v;
  EXPECT_EQ(headphones->Activate(IID_IAudioEndpointVolume, CLSCTX_ALL, nullptr, v.put_void()),
            AUDCLNT_E_DEVICE_INVALIDATED);
  com_ptr<IUnknown> other;
  EXPECT_EQ(DefaultEndpoint()->Activate(IID_IMMDevice, CLSCTX_ALL, nullptr, other.put_void()), E_NOINTERFACE);
}

TEST_F(Endpoints, WithoutTheNotebookThereIsNoEndpoint) {
  provider_.Stop();
  com_ptr<IMMDevice> d;
  EXPECT_TRUE(FAILED(Enumerator()->GetDefaultAudioEndpoint(eRender, eMultimedia, d.put())));
  EXPECT_FALSE(d);
}

class Volume : public AudioTest {};

TEST_F(Volume, TheLevelAndMuteStateReadBackExactlyAndLevelsOutsideTheScaleAreRefused) {
  auto v = VolumeOf(DefaultEndpoint().get());
  ASSERT_TRUE(v);
  for (float level : {0.0f, 0.005f, 0.0051f, 0.7f, 0.994f, 0.995f, 1.0f}) {
    ASSERT_EQ(v->SetMasterVolumeLevelScalar(level, nullptr), S_OK);
    float read = -1.0f;
    ASSERT_EQ(v->GetMasterVolumeLevelScalar(&read), S_OK);
    EXPECT_EQ(read, level);
    ASSERT_EQ(v->GetChannelVolumeLevelScalar(1, &read), S_OK);
    EXPECT_EQ(read, level) << "the channels follow the master volume";
  }
  for (float bad : {-0.01f, 1.01f, std::numeric_limits<float>::quiet_NaN()})
    EXPECT_EQ(v->SetMasterVolumeLevelScalar(bad, nullptr), E_INVALIDARG);
  float read = 0.0f;
  ASSERT_EQ(v->GetMasterVolumeLevelScalar(&read), S_OK);
  EXPECT_EQ(read, 1.0f) << "a refused level changed the volume";

  BOOL mute = TRUE;
  ASSERT_EQ(v->GetMute(&mute), S_OK);
  EXPECT_FALSE(mute);
  ASSERT_EQ(v->SetMute(TRUE, nullptr), S_OK);
  ASSERT_EQ(v->GetMute(&mute), S_OK);
  EXPECT_TRUE(mute);

  UINT channels = 0, step = 0, steps = 0;
  ASSERT_EQ(v->GetChannelCount(&channels), S_OK);
  EXPECT_EQ(channels, 2u);
  EXPECT_EQ(v->GetChannelVolumeLevelScalar(2, &read), E_INVALIDARG);
  // Fifty steps of 2 %; the top step stays the top.
  ASSERT_EQ(v->SetMasterVolumeLevelScalar(0.5f, nullptr), S_OK);
  ASSERT_EQ(v->VolumeStepUp(nullptr), S_OK);
  ASSERT_EQ(v->GetVolumeStepInfo(&step, &steps), S_OK);
  EXPECT_EQ(step, 26u);
  EXPECT_EQ(steps, 51u);
  ASSERT_EQ(v->SetMasterVolumeLevelScalar(1.0f, nullptr), S_OK);
  ASSERT_EQ(v->VolumeStepUp(nullptr), S_OK);
  ASSERT_EQ(v->GetMasterVolumeLevelScalar(&read), S_OK);
  EXPECT_EQ(read, 1.0f);
  float dB = 0.0f;
  EXPECT_EQ(v->GetMasterVolumeLevel(&dB), E_NOTIMPL);
  EXPECT_EQ(v->GetMasterVolumeLevelScalar(nullptr), E_POINTER);

  // The level belongs to the notebook: another program's interface reads it too,
  // and so does the notebook's own summary.
  auto again = VolumeOf(DefaultEndpoint().get());
  ASSERT_EQ(again->GetMasterVolumeLevelScalar(&read), S_OK);
  EXPECT_EQ(read, 1.0f);
  EXPECT_NE(Status().find("Audio speakers   active, volume 100% (1), muted, default"), std::string::npos) << Status();
}

TEST_F(Volume, AnEndpointThatWentAwayAnswersThatItIsInvalidAndTheStateSurvivesTheProvider) {
  Sim({"audio", "plug", "headphones"});
  const auto all = [&] {
    com_ptr<IMMDeviceCollection> c;
    EXPECT_EQ(Enumerator()->EnumAudioEndpoints(eRender, DEVICE_STATEMASK_ALL, c.put()), S_OK);
    return Ids(c.get());
  }();
  com_ptr<IMMDevice> headphones;
  ASSERT_EQ(Enumerator()->GetDevice(all[1].c_str(), headphones.put()), S_OK);
  auto v = VolumeOf(headphones.get());
  ASSERT_EQ(v->SetMasterVolumeLevelScalar(0.25f, nullptr), S_OK);
  ASSERT_EQ(v->SetMute(TRUE, nullptr), S_OK);
  Sim({"audio", "unplug", "headphones"});
  float level = 0.0f;
  BOOL mute = FALSE;
  EXPECT_EQ(v->GetMasterVolumeLevelScalar(&level), AUDCLNT_E_DEVICE_INVALIDATED);
  EXPECT_EQ(v->SetMasterVolumeLevelScalar(0.5f, nullptr), AUDCLNT_E_DEVICE_INVALIDATED);
  EXPECT_EQ(v->SetMute(FALSE, nullptr), AUDCLNT_E_DEVICE_INVALIDATED);

  // The provider goes and comes back; the headphones keep their level and mute.
  provider_.Stop();
  EXPECT_TRUE(FAILED(v->GetMute(&mute)));
  std::string error;
  ASSERT_TRUE(provider_.Start(&error)) << error;
  Sim({"audio", "plug", "headphones"});
  ASSERT_EQ(v->GetMasterVolumeLevelScalar(&level), S_OK);
  EXPECT_EQ(level, 0.25f);
  ASSERT_EQ(v->GetMute(&mute), S_OK);
  EXPECT_TRUE(mute);
}

}  // namespace
}  // namespace audiotest
