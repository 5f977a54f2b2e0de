// IMMDevice and IMMDeviceCollection: an endpoint named by its ID, and a list of them.
#include <audioclient.h>

#include <cstring>

#include "platform/audio/sim/census.h"
#include "platform/audio/sim/endpoints.h"
#include "platform/audio/sim/objects.h"

namespace orv::audio {
namespace {

class Device : public CountedObject<IMMDevice, IID_IMMDevice> {
 public:
  explicit Device(std::u16string id) : id_(std::move(id)) {}

  HRESULT STDMETHODCALLTYPE Activate(REFIID iid, DWORD, PROPVARIANT* params, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid != IID_IAudioEndpointVolume) return E_NOINTERFACE;
    // The endpoint volume takes no activation parameters.
    if (params && params->vt != VT_EMPTY) return E_INVALIDARG;
    EndpointInfo e;
    HRESULT hr = ReadActiveEndpoint(id_, &e);
    if (FAILED(hr)) return hr;
    *out = MakeEndpointVolume(id_);
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE OpenPropertyStore(DWORD access, IPropertyStore** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (access != STGM_READ) return E_ACCESSDENIED;  // the endpoints' properties are the system's
    EndpointInfo e;
    HRESULT hr = ReadEndpoint(id_, &e);
    if (FAILED(hr)) return hr;
    *out = MakePropertyStore(e.name);
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE GetId(LPWSTR* out) override {
    if (!out) return E_POINTER;
    const std::size_t bytes = (id_.size() + 1) * sizeof(WCHAR);
    *out = static_cast<LPWSTR>(CoTaskMemAlloc(bytes));
    if (!*out) return E_OUTOFMEMORY;
    std::memcpy(*out, id_.c_str(), bytes);
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE GetState(DWORD* out) override {
    if (!out) return E_POINTER;
    EndpointInfo e;
    HRESULT hr = ReadEndpoint(id_, &e);
    if (FAILED(hr)) return hr;
    *out = e.state;
    return S_OK;
  }

 private:
  const std::u16string id_;
};

class Collection : public CountedObject<IMMDeviceCollection, IID_IMMDeviceCollection> {
 public:
  explicit Collection(std::vector<std::u16string> ids) : ids_(std::move(ids)) {}

  HRESULT STDMETHODCALLTYPE GetCount(UINT* out) override {
    if (!out) return E_POINTER;
    *out = static_cast<UINT>(ids_.size());
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE Item(UINT n, IMMDevice** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (n >= ids_.size()) return E_INVALIDARG;
    *out = MakeDevice(ids_[n]);
    return S_OK;
  }

 private:
  const std::vector<std::u16string> ids_;
};

}  // namespace

IMMDevice* MakeDevice(const std::u16string& id) { return new Device(id); }

IMMDeviceCollection* MakeCollection(std::vector<std::u16string> ids) { return new Collection(std::move(ids)); }

}  // namespace orv::audio
