// Shared pieces of the Core Audio tests: the notebook's provider in a private
// state folder, COM on the test thread, and callbacks that record what they hear.
#pragma once
#include <gtest/gtest.h>
#include <endpointvolume.h>
#include <mmdeviceapi.h>

#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/base/unique_com.h"
#include "platform/wmi/sim/com_object.h"
#include "sim/provider.h"
#include "tests/support/process.h"

namespace audiotest {

using orv::com_ptr;

class AudioTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Runs a simulator command in the provider; the test fails if it is refused.
  void Sim(const std::vector<std::string>& words);
  // The notebook's summary (orv-sim status).
  std::string Status();

  com_ptr<IMMDeviceEnumerator> Enumerator();
  // The default render endpoint, or none.
  com_ptr<IMMDevice> DefaultEndpoint();
  com_ptr<IAudioEndpointVolume> VolumeOf(IMMDevice* device);
  std::u16string IdOf(IMMDevice* device);

  orv::test::TempHome home_;
  orv::sim::ProviderThread provider_;
};

// One OnNotify as a callback heard it.
struct Heard {
  GUID context{};
  bool muted = false;
  float volume = 0.0f;
  UINT channels = 0;
  std::vector<float> channelVolumes;
  std::thread::id thread;
};

class RecordingCallback : public orv::com::ComObject<IAudioEndpointVolumeCallback, IID_IAudioEndpointVolumeCallback> {
 public:
  static com_ptr<RecordingCallback> Make() { return com_ptr<RecordingCallback>::attach(new RecordingCallback()); }
  HRESULT STDMETHODCALLTYPE OnNotify(PAUDIO_VOLUME_NOTIFICATION_DATA data) override;
  // Waits (generously) until n notifications arrived.
  bool WaitCount(std::size_t n);
  std::vector<Heard> All();
  // Run inside OnNotify after recording, when set.
  std::function<void()> during;

 private:
  RecordingCallback() = default;
  std::mutex lock_;
  std::condition_variable changed_;
  std::vector<Heard> heard_;
};

// The device notifications a client heard, one line each ("added <id>",
// "state <id> <state>", "removed <id>", "default <role> <id or none>").
class RecordingClient : public orv::com::ComObject<IMMNotificationClient, IID_IMMNotificationClient> {
 public:
  static com_ptr<RecordingClient> Make() { return com_ptr<RecordingClient>::attach(new RecordingClient()); }
  HRESULT STDMETHODCALLTYPE OnDeviceStateChanged(LPCWSTR id, DWORD state) override;
  HRESULT STDMETHODCALLTYPE OnDeviceAdded(LPCWSTR id) override;
  HRESULT STDMETHODCALLTYPE OnDeviceRemoved(LPCWSTR id) override;
  HRESULT STDMETHODCALLTYPE OnDefaultDeviceChanged(EDataFlow flow, ERole role, LPCWSTR id) override;
  HRESULT STDMETHODCALLTYPE OnPropertyValueChanged(LPCWSTR id, const PROPERTYKEY key) override;
  bool WaitCount(std::size_t n);
  std::vector<std::string> Lines();

 private:
  RecordingClient() = default;
  void Add(std::string line);
  std::mutex lock_;
  std::condition_variable changed_;
  std::vector<std::string> lines_;
};

// An endpoint ID as narrow text, for messages and the clients' lines.
std::string Narrow(LPCWSTR id);

}  // namespace audiotest
