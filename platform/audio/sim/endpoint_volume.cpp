// IAudioEndpointVolume of one endpoint: its master volume and mute state read
// from and written to the notebook, and the registration of change callbacks.
#include <audioclient.h>

#include <algorithm>
#include <cmath>

#include "platform/audio/sim/census.h"
#include "platform/audio/sim/endpoints.h"
#include "platform/audio/sim/notify.h"
#include "platform/audio/sim/objects.h"

namespace orv::audio {
namespace {

// The volume steps of the keys and of VolumeStepUp/Down: 2 % each, 51 levels.
constexpr UINT kStepCount = 51;

class EndpointVolume : public CountedObject<IAudioEndpointVolume, IID_IAudioEndpointVolume> {
 public:
  explicit EndpointVolume(std::u16string id) : id_(std::move(id)) {}

  HRESULT STDMETHODCALLTYPE RegisterControlChangeNotify(IAudioEndpointVolumeCallback* notify) override {
    return AddVolumeCallback(id_, notify);
  }
  HRESULT STDMETHODCALLTYPE UnregisterControlChangeNotify(IAudioEndpointVolumeCallback* notify) override {
    return RemoveVolumeCallback(id_, notify);
  }

  HRESULT STDMETHODCALLTYPE GetChannelCount(UINT* out) override {
    if (!out) return E_POINTER;
    EndpointInfo e;
    HRESULT hr = ReadActiveEndpoint(id_, &e);
    if (SUCCEEDED(hr)) *out = e.channels;
    return hr;
  }

  HRESULT STDMETHODCALLTYPE SetMasterVolumeLevelScalar(FLOAT level, LPCGUID context) override {
    if (!(level >= 0.0f && level <= 1.0f)) return E_INVALIDARG;  // NaN included
    return WriteVolume(id_, level, context);
  }

  HRESULT STDMETHODCALLTYPE GetMasterVolumeLevelScalar(FLOAT* out) override {
    if (!out) return E_POINTER;
    EndpointInfo e;
    HRESULT hr = ReadActiveEndpoint(id_, &e);
    if (SUCCEEDED(hr)) *out = e.volume;
    return hr;
  }

  HRESULT STDMETHODCALLTYPE GetChannelVolumeLevelScalar(UINT channel, FLOAT* out) override {
    if (!out) return E_POINTER;
    EndpointInfo e;
    HRESULT hr = ReadActiveEndpoint(id_, &e);
    if (FAILED(hr)) return hr;
    if (channel >= e.channels) return E_INVALIDARG;
    *out = e.volume;  // the channels follow the master volume
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE SetMute(BOOL mute, LPCGUID context) override { return WriteMute(id_, mute != FALSE, context); }

  HRESULT STDMETHODCALLTYPE GetMute(BOOL* out) override {
    if (!out) return E_POINTER;
    EndpointInfo e;
    HRESULT hr = ReadActiveEndpoint(id_, &e);
    if (SUCCEEDED(hr)) *out = e.mute ? TRUE : FALSE;
    return hr;
  }

  HRESULT STDMETHODCALLTYPE GetVolumeStepInfo(UINT* step, UINT* count) override {
    if (!step || !count) return E_POINTER;
    EndpointInfo e;
    HRESULT hr = ReadActiveEndpoint(id_, &e);
    if (FAILED(hr)) return hr;
    *step = static_cast<UINT>(std::lround(e.volume * (kStepCount - 1)));
    *count = kStepCount;
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE VolumeStepUp(LPCGUID context) override { return Step(1, context); }
  HRESULT STDMETHODCALLTYPE VolumeStepDown(LPCGUID context) override { return Step(-1, context); }

  HRESULT STDMETHODCALLTYPE QueryHardwareSupport(DWORD* out) override {
    if (!out) return E_POINTER;
    *out = 0;  // the notebook's volume and mute are done in software
    return S_OK;
  }

  // The decibel scale and the per-channel settings are not simulated.
  HRESULT STDMETHODCALLTYPE SetMasterVolumeLevel(FLOAT, LPCGUID) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetMasterVolumeLevel(FLOAT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetChannelVolumeLevel(UINT, FLOAT, LPCGUID) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetChannelVolumeLevelScalar(UINT, FLOAT, LPCGUID) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetChannelVolumeLevel(UINT, FLOAT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetVolumeRange(FLOAT*, FLOAT*, FLOAT*) override { return E_NOTIMPL; }

 private:
  HRESULT Step(int direction, LPCGUID context) {
    EndpointInfo e;
    HRESULT hr = ReadActiveEndpoint(id_, &e);
    if (FAILED(hr)) return hr;
    const long step = std::clamp(std::lround(e.volume * (kStepCount - 1)) + direction, 0L, long{kStepCount - 1});
    return WriteVolume(id_, static_cast<float>(static_cast<double>(step) / (kStepCount - 1)), context);
  }

  const std::u16string id_;
};

}  // namespace

IAudioEndpointVolume* MakeEndpointVolume(const std::u16string& id) { return new EndpointVolume(id); }

}  // namespace orv::audio
