// The device enumerator, CLSID_MMDeviceEnumerator: the endpoints, the default one
// of a role, a device by its ID, and the notification registrations.
#include <audioclient.h>

#include "platform/audio/sim/census.h"
#include "platform/audio/sim/endpoints.h"
#include "platform/audio/sim/notify.h"
#include "platform/audio/sim/objects.h"
#include "platform/wmi/sim/class_table.h"

namespace orv::audio {
namespace {

bool ValidRole(ERole role) { return role == eConsole || role == eMultimedia || role == eCommunications; }

class Enumerator : public CountedObject<IMMDeviceEnumerator, IID_IMMDeviceEnumerator> {
 public:
  HRESULT STDMETHODCALLTYPE EnumAudioEndpoints(EDataFlow flow, DWORD mask, IMMDeviceCollection** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if ((flow != eRender && flow != eCapture && flow != eAll) || (mask & ~DWORD{DEVICE_STATEMASK_ALL}))
      return E_INVALIDARG;
    std::vector<std::u16string> ids;
    // The notebook has render endpoints only: a capture list is empty.
    if (flow != eCapture) {
      std::vector<EndpointInfo> all;
      HRESULT hr = ReadEndpoints(&all);
      if (FAILED(hr)) return hr;
      for (const EndpointInfo& e : all)
        if (e.state & mask) ids.push_back(e.id);
    }
    *out = MakeCollection(std::move(ids));
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE GetDefaultAudioEndpoint(EDataFlow flow, ERole role, IMMDevice** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if ((flow != eRender && flow != eCapture) || !ValidRole(role)) return E_INVALIDARG;
    if (flow == eCapture) return E_NOTFOUND;
    std::vector<EndpointInfo> all;
    HRESULT hr = ReadEndpoints(&all);
    if (FAILED(hr)) return hr;
    // One endpoint is the default of every role.
    for (const EndpointInfo& e : all) {
      if (!e.isDefault || e.state != DEVICE_STATE_ACTIVE) continue;
      *out = MakeDevice(e.id);
      return S_OK;
    }
    return E_NOTFOUND;
  }

  HRESULT STDMETHODCALLTYPE GetDevice(LPCWSTR id, IMMDevice** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!id) return E_POINTER;
    EndpointInfo e;
    HRESULT hr = ReadEndpoint(id, &e);
    if (FAILED(hr)) return hr;
    *out = MakeDevice(e.id);
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE RegisterEndpointNotificationCallback(IMMNotificationClient* client) override {
    return AddClient(client);
  }

  HRESULT STDMETHODCALLTYPE UnregisterEndpointNotificationCallback(IMMNotificationClient* client) override {
    return RemoveClient(client);
  }
};

HRESULT CreateEnumerator(IUnknown** out) {
  *out = new Enumerator();
  return S_OK;
}

[[maybe_unused]] const bool kRegistered =
    com::RegisterClassObject(CLSID_MMDeviceEnumerator, CLSCTX_INPROC_SERVER, &CreateEnumerator);

}  // namespace
}  // namespace orv::audio
