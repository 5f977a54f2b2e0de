// Apartment initialisation counted per thread, process security set once, class
// creation and proxy blankets.
#include <mutex>

#include "platform/wmi/apartment.h"
#include "platform/wmi/com.h"

namespace orv::wmi {
namespace {

struct ThreadApartment {
  int depth = 0;
  bool multithreaded = false;
};
thread_local ThreadApartment t_apartment;

std::mutex g_securityLock;
bool g_securitySet = false;

}  // namespace

namespace detail {

bool ComReady() { return t_apartment.depth > 0; }

void EnsureSecurityInitialised() {
  std::lock_guard<std::mutex> lock(g_securityLock);
  g_securitySet = true;
}

}  // namespace detail

HRESULT CoInitialize() { return CoInitializeEx(false); }

HRESULT CoInitializeEx(bool multithreaded) {
  ThreadApartment& a = t_apartment;
  if (a.depth > 0) {
    if (a.multithreaded != multithreaded) return RPC_E_CHANGED_MODE;
    ++a.depth;
    return S_FALSE;
  }
  a.depth = 1;
  a.multithreaded = multithreaded;
  return S_OK;
}

void CoUninitialize() {
  // An unbalanced extra call does nothing, as on Windows.
  if (t_apartment.depth > 0) --t_apartment.depth;
}

int ComInitDepth() { return t_apartment.depth; }

HRESULT CoInitializeSecurity(std::uint32_t authnLevel, std::uint32_t impLevel) {
  (void)authnLevel;
  (void)impLevel;
  if (!detail::ComReady()) return CO_E_NOTINITIALIZED;
  std::lock_guard<std::mutex> lock(g_securityLock);
  if (g_securitySet) return RPC_E_TOO_LATE;
  g_securitySet = true;
  return S_OK;
}

HRESULT CoCreateInstance(Clsid clsid, std::uint32_t clsctx, Iid iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (!detail::ComReady()) return CO_E_NOTINITIALIZED;
  // Each class is registered for one server kind only.
  bool inproc = (clsctx & CLSCTX_INPROC_SERVER) != 0;
  bool local = (clsctx & CLSCTX_LOCAL_SERVER) != 0;
  void* made = nullptr;
  HRESULT hr = REGDB_E_CLASSNOTREG;
  switch (clsid) {
    case Clsid::WbemLocator:
      if (inproc) hr = detail::CreateLocator(&made);
      break;
    case Clsid::WbemContext:
      if (inproc) hr = detail::CreateContext(&made);
      break;
    case Clsid::UnsecuredApartment:
      if (local) hr = detail::CreateUnsecuredApartment(&made);
      break;
  }
  if (Failed(hr)) return hr;
  auto* unk = static_cast<IUnknown*>(made);
  hr = unk->QueryInterface(iid, out);
  unk->Release();
  return hr;
}

HRESULT CoSetProxyBlanket(IUnknown* proxy, std::uint32_t authnSvc, std::uint32_t authzSvc,
                          std::uint32_t authnLevel, std::uint32_t impLevel, std::uint32_t caps) {
  (void)authzSvc;
  (void)caps;
  if (!proxy) return E_INVALIDARG;
  if (!detail::ComReady()) return CO_E_NOTINITIALIZED;
  auto* p = dynamic_cast<detail::Proxy*>(proxy);
  if (!p) return E_NOINTERFACE;  // a local object has no proxy to secure
  if (authnSvc != RPC_C_AUTHN_WINNT && authnSvc != 0xFFFFFFFFu) return E_INVALIDARG;
  if (authnLevel > 6 || impLevel > 4) return E_INVALIDARG;
  p->authnLevel = authnLevel;
  p->impLevel = impLevel;
  return S_OK;
}

}  // namespace orv::wmi
