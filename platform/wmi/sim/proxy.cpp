// CoSetProxyBlanket on the simulated COM's proxies.
#include "platform/wmi/sim/proxy.h"

#include "platform/wmi/sim/apartment.h"
#include "platform/wmi/sim/faults.h"

namespace orv::com {

Proxy::~Proxy() = default;

}  // namespace orv::com

extern "C" HRESULT WINAPI CoSetProxyBlanket(IUnknown* pProxy, DWORD dwAuthnSvc, DWORD, OLECHAR*, DWORD dwAuthnLevel,
                                            DWORD dwImpLevel, RPC_AUTH_IDENTITY_HANDLE, DWORD) {
  if (!pProxy) return E_INVALIDARG;
  if (!orv::com::ComReady()) return CO_E_NOTINITIALIZED;
  auto* p = dynamic_cast<orv::com::Proxy*>(pProxy);
  if (!p) return E_NOINTERFACE;  // a local object has no proxy to secure
  if (orv::com::ProxyBlanketRefused()) return E_ACCESSDENIED;
  if (dwAuthnSvc != RPC_C_AUTHN_WINNT && dwAuthnSvc != static_cast<DWORD>(RPC_C_AUTHN_DEFAULT)) return E_INVALIDARG;
  if (dwAuthnLevel > RPC_C_AUTHN_LEVEL_PKT_PRIVACY || dwImpLevel > RPC_C_IMP_LEVEL_DELEGATE) return E_INVALIDARG;
  p->authnLevel = dwAuthnLevel;
  p->impLevel = dwImpLevel;
  return S_OK;
}
