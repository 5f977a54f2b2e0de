// The Core Audio test fixture and its recording callbacks.
#include "tests/audio/audio_fixture.h"

#include <chrono>
#include <cstring>

#include "platform/wmi/sim/apartment.h"
#include "tests/support/sim_control.h"

namespace audiotest {
namespace {

constexpr auto kPatience = std::chrono::seconds(30);

}  // namespace

void AudioTest::SetUp() {
  ASSERT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK);
  std::string error;
  ASSERT_TRUE(provider_.Start(&error)) << error;
}

void AudioTest::TearDown() {
  provider_.Stop();
  CoUninitialize();
  EXPECT_EQ(orv::com::ComInitDepth(), 0);
}

void AudioTest::Sim(const std::vector<std::string>& words) { orv::test::SimCommand(words); }

std::string AudioTest::Status() { return orv::test::SimStatus(); }

com_ptr<IMMDeviceEnumerator> AudioTest::Enumerator() {
  com_ptr<IMMDeviceEnumerator> e;
  EXPECT_EQ(CoCreateInstance(CLSID_MMDeviceEnumerator, nullptr, CLSCTX_ALL, IID_IMMDeviceEnumerator, e.put_void()),
            S_OK);
  return e;
}

com_ptr<IMMDevice> AudioTest::DefaultEndpoint() {
  com_ptr<IMMDevice> d;
  if (auto e = Enumerator()) e->GetDefaultAudioEndpoint(eRender, eMultimedia, d.put());
  return d;
}

com_ptr<IAudioEndpointVolume> AudioTest::VolumeOf(IMMDevice* device) {
  com_ptr<IAudioEndpointVolume> v;
  EXPECT_EQ(device->Activate(IID_IAudioEndpointVolume, CLSCTX_ALL, nullptr, v.put_void()), S_OK);
  return v;
}

std::u16string AudioTest::IdOf(IMMDevice* device) {
  LPWSTR id = nullptr;
  EXPECT_EQ(device->GetId(&id), S_OK);
  std::u16string text = id ? id : u"";
  CoTaskMemFree(id);
  return text;
}

HRESULT RecordingCallback::OnNotify(PAUDIO_VOLUME_NOTIFICATION_DATA data) {
  Heard h;
  h.context = data->guidEventContext;
  h.muted = data->bMuted != FALSE;
  h.volume = data->fMasterVolume;
  h.channels = data->nChannels;
  // The channel volumes follow the structure, as many as it says.
  const FLOAT* channel = data->afChannelVolumes;
  for (UINT c = 0; c < data->nChannels; ++c) h.channelVolumes.push_back(channel[c]);
  h.thread = std::this_thread::get_id();
  {
    std::lock_guard<std::mutex> lock(lock_);
    heard_.push_back(h);
  }
  changed_.notify_all();
  if (during) during();
  return S_OK;
}

bool RecordingCallback::WaitCount(std::size_t n) {
  std::unique_lock<std::mutex> lock(lock_);
  return changed_.wait_for(lock, kPatience, [&] { return heard_.size() >= n; });
}

std::vector<Heard> RecordingCallback::All() {
  std::lock_guard<std::mutex> lock(lock_);
  return heard_;
}

std::string Narrow(LPCWSTR id) {
  if (!id) return "none";
  std::string out;
  for (; *id; ++id) out += static_cast<char>(*id);
  return out;
}

void RecordingClient::Add(std::string line) {
  {
    std::lock_guard<std::mutex> lock(lock_);
    lines_.push_back(std::move(line));
  }
  changed_.notify_all();
}

HRESULT RecordingClient::OnDeviceStateChanged(LPCWSTR id, DWORD state) {
  Add("state " + Narrow(id) + " " + std::to_string(state));
  return S_OK;
}
HRESULT RecordingClient::OnDeviceAdded(LPCWSTR id) {
  Add("added " + Narrow(id));
  return S_OK;
}
HRESULT RecordingClient::OnDeviceRemoved(LPCWSTR id) {
  Add("removed " + Narrow(id));
  return S_OK;
}
HRESULT RecordingClient::OnDefaultDeviceChanged(EDataFlow flow, ERole role, LPCWSTR id) {
  Add("default " + std::to_string(flow) + " " + std::to_string(role) + " " + Narrow(id));
  return S_OK;
}
HRESULT RecordingClient::OnPropertyValueChanged(LPCWSTR id, const PROPERTYKEY) {
  Add("property " + Narrow(id));
  return S_OK;
}

bool RecordingClient::WaitCount(std::size_t n) {
  std::unique_lock<std::mutex> lock(lock_);
  return changed_.wait_for(lock, kPatience, [&] { return lines_.size() >= n; });
}

std::vector<std::string> RecordingClient::Lines() {
  std::lock_guard<std::mutex> lock(lock_);
  return lines_;
}

}  // namespace audiotest
