// A device's property store, read-only: its friendly name.
#include <functiondiscoverykeys_devpkey.h>

#include <cstring>

#include "platform/audio/sim/census.h"
#include "platform/audio/sim/objects.h"

namespace orv::audio {
namespace {

class PropertyStore : public CountedObject<IPropertyStore, IID_IPropertyStore> {
 public:
  explicit PropertyStore(std::u16string name) : name_(std::move(name)) {}

  HRESULT STDMETHODCALLTYPE GetCount(DWORD* out) override {
    if (!out) return E_POINTER;
    *out = 1;
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE GetAt(DWORD index, PROPERTYKEY* out) override {
    if (!out) return E_POINTER;
    if (index != 0) return E_INVALIDARG;
    *out = PKEY_Device_FriendlyName;
    return S_OK;
  }

  // A key the store lacks reads as VT_EMPTY, as on Windows.
  HRESULT STDMETHODCALLTYPE GetValue(REFPROPERTYKEY key, PROPVARIANT* out) override {
    if (!out) return E_POINTER;
    PropVariantInit(out);
    if (key != PKEY_Device_FriendlyName) return S_OK;
    const std::size_t bytes = (name_.size() + 1) * sizeof(WCHAR);
    auto* text = static_cast<LPWSTR>(CoTaskMemAlloc(bytes));
    if (!text) return E_OUTOFMEMORY;
    std::memcpy(text, name_.c_str(), bytes);
    out->vt = VT_LPWSTR;
    out->pwszVal = text;
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE SetValue(REFPROPERTYKEY, REFPROPVARIANT) override { return STG_E_ACCESSDENIED; }
  HRESULT STDMETHODCALLTYPE Commit() override { return STG_E_ACCESSDENIED; }

 private:
  const std::u16string name_;
};

}  // namespace

IPropertyStore* MakePropertyStore(const std::u16string& friendlyName) { return new PropertyStore(friendlyName); }

}  // namespace orv::audio
