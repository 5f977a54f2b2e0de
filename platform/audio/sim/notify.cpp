// Registrations, the subscription's sink and the delivery of each audio event to
// the interfaces registered for it.
#include "platform/audio/sim/notify.h"

#include <fcntl.h>
#include <unistd.h>
#include <wbemidl.h>

#include <algorithm>
#include <condition_variable>
#include <cstddef>
#include <cstring>
#include <functional>
#include <mutex>
#include <new>
#include <thread>
#include <vector>

#include "platform/audio/sim/census.h"
#include "platform/audio/sim/endpoints.h"
#include "platform/audio/sim/values.h"
#include "platform/base/sim/unique_fd.h"
#include "platform/base/unique_com.h"
#include "platform/home/sim/home.h"
#include "platform/wmi/sim/com_object.h"
#include "platform/wmi/sim/local_wmi.h"

namespace orv::audio {
namespace {

// The kinds of Sim_AudioEvent's Change.
enum Change { kVolume = 1, kState = 2, kAdded = 3, kRemoved = 4, kDefault = 5 };

struct VolumeRegistration {
  std::u16string id;
  IAudioEndpointVolumeCallback* callback;  // one reference
};

// A call being made to a registered interface, on the thread making it.
struct InFlight {
  const void* target;
  std::thread::id thread;
};

struct Hub {
  std::mutex lock;
  std::condition_variable settled;  // a call in flight ended
  std::vector<IMMNotificationClient*> clients;
  std::vector<VolumeRegistration> volumes;
  std::vector<InFlight> inFlight;
  bool watching = false;  // a subscription is delivering
};

Hub& TheHub() {
  static Hub* hub = new Hub;  // never destroyed: the subscription may deliver while the process exits
  return *hub;
}

// Marks a call to target as in flight if the registration is still there.
bool Begin(const void* target, bool stillRegistered) {
  if (!stillRegistered) return false;
  TheHub().inFlight.push_back({target, std::this_thread::get_id()});
  return true;
}

void End(const void* target) {
  Hub& h = TheHub();
  std::lock_guard<std::mutex> lock(h.lock);
  auto it = std::find_if(h.inFlight.begin(), h.inFlight.end(), [&](const InFlight& f) {
    return f.target == target && f.thread == std::this_thread::get_id();
  });
  if (it != h.inFlight.end()) h.inFlight.erase(it);
  h.settled.notify_all();
}

// Waits until no other thread is calling target (the calling thread's own call,
// when it unregisters from inside it, goes on).
void WaitSettled(std::unique_lock<std::mutex>& lock, const void* target) {
  Hub& h = TheHub();
  const auto me = std::this_thread::get_id();
  h.settled.wait(lock, [&] {
    return std::none_of(h.inFlight.begin(), h.inFlight.end(),
                        [&](const InFlight& f) { return f.target == target && f.thread != me; });
  });
}

void ToClients(const std::function<void(IMMNotificationClient*)>& call) {
  Hub& h = TheHub();
  std::vector<IMMNotificationClient*> clients;
  {
    std::lock_guard<std::mutex> lock(h.lock);
    clients = h.clients;
  }
  for (IMMNotificationClient* c : clients) {
    {
      std::lock_guard<std::mutex> lock(h.lock);
      if (!Begin(c, std::find(h.clients.begin(), h.clients.end(), c) != h.clients.end())) continue;
    }
    call(c);
    End(c);
  }
}

constexpr UINT kMaxChannels = 8;

void ToVolumeCallbacks(const std::u16string& id, const GUID& context, bool mute, float volume, UINT channels) {
  // The notification as Core Audio lays it out: room for every channel's volume.
  channels = std::min(std::max(channels, 1u), kMaxChannels);
  alignas(AUDIO_VOLUME_NOTIFICATION_DATA) unsigned char
      block[sizeof(AUDIO_VOLUME_NOTIFICATION_DATA) + (kMaxChannels - 1) * sizeof(FLOAT)];
  auto* data = new (block) AUDIO_VOLUME_NOTIFICATION_DATA{context, mute ? TRUE : FALSE, volume, channels, {volume}};
  for (UINT c = 1; c < channels; ++c)
    std::memcpy(block + offsetof(AUDIO_VOLUME_NOTIFICATION_DATA, afChannelVolumes) + c * sizeof(FLOAT), &volume,
                sizeof volume);
  Hub& h = TheHub();
  std::vector<IAudioEndpointVolumeCallback*> targets;
  {
    std::lock_guard<std::mutex> lock(h.lock);
    for (const VolumeRegistration& r : h.volumes)
      if (r.id == id) targets.push_back(r.callback);
  }
  for (IAudioEndpointVolumeCallback* cb : targets) {
    {
      std::lock_guard<std::mutex> lock(h.lock);
      const bool there = std::any_of(h.volumes.begin(), h.volumes.end(),
                                     [&](const VolumeRegistration& r) { return r.id == id && r.callback == cb; });
      if (!Begin(cb, there)) continue;
    }
    cb->OnNotify(data);
    End(cb);
  }
}

std::u16string TextOf(IWbemClassObject* o, const OLECHAR* name) {
  std::u16string text;
  ReadText(o, name, &text);
  return text;
}

// Notes in the state folder's record that this process's clients have all been
// told of a device change, so that a test can wait for a program to have handled
// it ("<pid> state|added|removed|default" a line).
void Record(const char* kind) {
  const std::string line = std::to_string(getpid()) + " " + kind + "\n";
  sim::unique_fd fd(open(home::Path(kDeliveredFile).c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600));
  if (!fd) return;
  const ssize_t written = write(fd.get(), line.data(), line.size());
  static_cast<void>(written);  // a lost note only makes a waiting test wait longer
}

void Deliver(IWbemClassObject* event) {
  LONGLONG change = 0, state = 0, bits = 0, mute = 0, role = 0;
  if (!event || !ReadNumber(event, OLESTR("Change"), &change) || !ReadNumber(event, OLESTR("State"), &state) ||
      !ReadNumber(event, OLESTR("VolumeBits"), &bits) || !ReadNumber(event, OLESTR("Mute"), &mute) ||
      !ReadNumber(event, OLESTR("Role"), &role))
    return;
  const std::u16string id = TextOf(event, OLESTR("DeviceId"));
  const LPCWSTR device = id.empty() ? nullptr : id.c_str();
  switch (change) {
    case kVolume: {
      GUID context{};
      ParseGuid(TextOf(event, OLESTR("Context")), &context);
      ToVolumeCallbacks(id, context, mute != 0, FloatFromBits(bits), 2);
      break;
    }
    case kState:
      ToClients([&](IMMNotificationClient* c) { c->OnDeviceStateChanged(device, static_cast<DWORD>(state)); });
      Record("state");
      break;
    case kAdded:
      ToClients([&](IMMNotificationClient* c) { c->OnDeviceAdded(device); });
      Record("added");
      break;
    case kRemoved:
      ToClients([&](IMMNotificationClient* c) { c->OnDeviceRemoved(device); });
      Record("removed");
      break;
    case kDefault:
      ToClients(
          [&](IMMNotificationClient* c) { c->OnDefaultDeviceChanged(eRender, static_cast<ERole>(role), device); });
      Record("default");
      break;
    default:
      break;
  }
}

class AudioSink : public orv::com::ComObject<IWbemObjectSink, IID_IWbemObjectSink> {
 public:
  HRESULT STDMETHODCALLTYPE Indicate(LONG count, IWbemClassObject** objects) override {
    for (LONG i = 0; objects && i < count; ++i) Deliver(objects[i]);
    return WBEM_S_NO_ERROR;
  }
  HRESULT STDMETHODCALLTYPE SetStatus(LONG flags, HRESULT, BSTR, IWbemClassObject*) override {
    if (flags == WBEM_STATUS_COMPLETE) {
      Hub& h = TheHub();
      std::lock_guard<std::mutex> lock(h.lock);
      h.watching = false;
    }
    return WBEM_S_NO_ERROR;
  }
};

// Subscribes unless a subscription delivers already. Without the notebook there
// is nothing to hear; a later registration tries again.
void Watch() {
  static std::mutex subscribing;  // registrations on two threads never subscribe twice
  std::lock_guard<std::mutex> once(subscribing);
  Hub& h = TheHub();
  {
    std::lock_guard<std::mutex> lock(h.lock);
    if (h.watching) return;
    h.watching = true;  // set before the first delivery can end it again
  }
  wmi::ComScope com;
  orv::com_ptr<IWbemServices> services;
  auto sink = orv::com_ptr<AudioSink>::attach(new AudioSink);
  HRESULT hr = wmi::ConnectNamespace(OLESTR("root\\Sim"), &services);
  if (SUCCEEDED(hr))
    hr = services->ExecNotificationQueryAsync(orv::make_bstr(OLESTR("WQL")).get(),
                                              orv::make_bstr(OLESTR("Select * from Sim_AudioEvent")).get(), 0,
                                              nullptr, sink.get());
  if (FAILED(hr)) {
    std::lock_guard<std::mutex> lock(h.lock);
    h.watching = false;
  }
}

}  // namespace

HRESULT AddClient(IMMNotificationClient* client) {
  if (!client) return E_POINTER;
  Watch();
  Hub& h = TheHub();
  std::lock_guard<std::mutex> lock(h.lock);
  h.clients.push_back(client);
  return S_OK;
}

HRESULT RemoveClient(IMMNotificationClient* client) {
  if (!client) return E_POINTER;
  Hub& h = TheHub();
  std::unique_lock<std::mutex> lock(h.lock);
  auto it = std::find(h.clients.begin(), h.clients.end(), client);
  if (it == h.clients.end()) return E_NOTFOUND;
  h.clients.erase(it);
  WaitSettled(lock, client);
  return S_OK;
}

HRESULT AddVolumeCallback(const std::u16string& id, IAudioEndpointVolumeCallback* callback) {
  if (!callback) return E_POINTER;
  Watch();
  callback->AddRef();
  Hub& h = TheHub();
  std::lock_guard<std::mutex> lock(h.lock);
  h.volumes.push_back({id, callback});
  return S_OK;
}

HRESULT RemoveVolumeCallback(const std::u16string& id, IAudioEndpointVolumeCallback* callback) {
  if (!callback) return E_POINTER;
  Hub& h = TheHub();
  {
    std::unique_lock<std::mutex> lock(h.lock);
    auto it = std::find_if(h.volumes.begin(), h.volumes.end(),
                           [&](const VolumeRegistration& r) { return r.id == id && r.callback == callback; });
    if (it == h.volumes.end()) return E_NOTFOUND;
    h.volumes.erase(it);
    WaitSettled(lock, callback);
  }
  callback->Release();
  return S_OK;
}

std::atomic<int>& LiveObjectCount() {
  static std::atomic<int> count{0};
  return count;
}

int LiveObjects() { return LiveObjectCount(); }

int ClientRegistrations() {
  Hub& h = TheHub();
  std::lock_guard<std::mutex> lock(h.lock);
  return static_cast<int>(h.clients.size());
}

int VolumeRegistrations() {
  Hub& h = TheHub();
  std::lock_guard<std::mutex> lock(h.lock);
  return static_cast<int>(h.volumes.size());
}

}  // namespace orv::audio
