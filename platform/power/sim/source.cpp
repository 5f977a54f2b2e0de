// Connection to the simulated power source and reading of its properties.
#include "platform/power/sim/source.h"

namespace orv::power {

using namespace orv::wmi;

HRESULT Connect(ComPtr<IWbemServices>* services) {
  ComPtr<IWbemLocator> locator;
  HRESULT hr = CoCreateInstance(Clsid::WbemLocator, CLSCTX_INPROC_SERVER, Iid::WbemLocator, locator.PutVoid());
  if (Failed(hr)) return hr;
  return locator->ConnectServer(kNamespace, nullptr, nullptr, nullptr, 0, nullptr, nullptr, services->Put());
}

bool ReadByte(IWbemClassObject* object, const char16_t* name, BYTE* value) {
  Variant v;
  if (!object || Failed(object->Get(name, 0, &v, nullptr, nullptr))) return false;
  if (v.vt == VT_NULL || v.vt == VT_EMPTY || v.vt == VT_BSTR || v.num < 0 || v.num > 255) return false;
  *value = static_cast<BYTE>(v.num);
  return true;
}

}  // namespace orv::power
