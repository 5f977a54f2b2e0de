// Connecting to a namespace through the locator, as any WMI client does.
#include "platform/wmi/sim/local_wmi.h"

namespace orv::wmi {

HRESULT ConnectNamespace(const OLECHAR* ns, orv::com_ptr<IWbemServices>* services) {
  orv::com_ptr<IWbemLocator> locator;
  HRESULT hr = CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER, IID_IWbemLocator, locator.put_void());
  if (FAILED(hr)) return hr;
  orv::unique_bstr name = orv::make_bstr(ns);
  return locator->ConnectServer(name.get(), nullptr, nullptr, nullptr, 0, nullptr, nullptr, services->put());
}

}  // namespace orv::wmi
