// The WMI locator, which connects to a namespace, and the (empty) WMI context
// object: the in-process classes of the simulated WMI client.
#include <wbemidl.h>

#include "platform/text/sim/ansi.h"
#include "platform/wmi/sim/apartment.h"
#include "platform/wmi/sim/class_table.h"
#include "platform/wmi/sim/com_object.h"
#include "platform/wmi/sim/services.h"

namespace orv::wmi::detail {
namespace {

class Locator : public com::ComObject<IWbemLocator, IID_IWbemLocator> {
 public:
  HRESULT STDMETHODCALLTYPE ConnectServer(const BSTR strNetworkResource, const BSTR strUser, const BSTR strPassword,
                                          const BSTR strLocale, LONG, const BSTR strAuthority, IWbemContext*,
                                          IWbemServices** ppNamespace) override {
    if (!com::ComReady()) return CO_E_NOTINITIALIZED;
    if (!strNetworkResource || !ppNamespace) return WBEM_E_INVALID_PARAMETER;
    for (const OLECHAR* s : {strNetworkResource, strUser, strPassword, strLocale, strAuthority})
      if (!CarriesAsBstr(s)) return WBEM_E_INVALID_PARAMETER;
    *ppNamespace = nullptr;
    return Services::Connect(text::WideToAnsi(strNetworkResource), ppNamespace);
  }
};

// Carries no values: nothing of the simulated WMI reads them.
class Context : public com::ComObject<IWbemContext, IID_IWbemContext> {
 public:
  HRESULT STDMETHODCALLTYPE Clone(IWbemContext**) override { return WBEM_E_NOT_SUPPORTED; }
  HRESULT STDMETHODCALLTYPE GetNames(LONG, SAFEARRAY**) override { return WBEM_E_NOT_SUPPORTED; }
  HRESULT STDMETHODCALLTYPE BeginEnumeration(LONG) override { return WBEM_E_NOT_SUPPORTED; }
  HRESULT STDMETHODCALLTYPE Next(LONG, BSTR*, VARIANT*) override { return WBEM_E_NOT_SUPPORTED; }
  HRESULT STDMETHODCALLTYPE EndEnumeration() override { return WBEM_E_NOT_SUPPORTED; }
  HRESULT STDMETHODCALLTYPE SetValue(LPCWSTR, LONG, VARIANT*) override { return WBEM_E_NOT_SUPPORTED; }
  HRESULT STDMETHODCALLTYPE GetValue(LPCWSTR, LONG, VARIANT*) override { return WBEM_E_NOT_SUPPORTED; }
  HRESULT STDMETHODCALLTYPE DeleteValue(LPCWSTR, LONG) override { return WBEM_E_NOT_SUPPORTED; }
  HRESULT STDMETHODCALLTYPE DeleteAll() override { return WBEM_E_NOT_SUPPORTED; }
};

HRESULT CreateLocator(IUnknown** out) {
  *out = new Locator();
  return S_OK;
}

HRESULT CreateContext(IUnknown** out) {
  *out = new Context();
  return S_OK;
}

[[maybe_unused]] const bool kLocatorRegistered =
    com::RegisterClassObject(CLSID_WbemLocator, CLSCTX_INPROC_SERVER, &CreateLocator);
[[maybe_unused]] const bool kContextRegistered =
    com::RegisterClassObject(CLSID_WbemContext, CLSCTX_INPROC_SERVER, &CreateContext);

}  // namespace
}  // namespace orv::wmi::detail
