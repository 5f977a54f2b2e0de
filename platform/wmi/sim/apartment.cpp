// Apartments counted per thread, and process security set once.
#include "platform/wmi/sim/apartment.h"

#include <objbase.h>

#include <mutex>

namespace orv::com {
namespace {

struct ThreadApartment {
  int depth = 0;
  bool multithreaded = false;
};
thread_local ThreadApartment t_apartment;

std::mutex g_securityLock;
bool g_securitySet = false;

}  // namespace

bool ComReady() { return t_apartment.depth > 0; }

int ComInitDepth() { return t_apartment.depth; }

void EnsureSecurityInitialised() {
  std::lock_guard<std::mutex> lock(g_securityLock);
  g_securitySet = true;
}

}  // namespace orv::com

using orv::com::ComReady;

extern "C" HRESULT WINAPI CoInitialize(LPVOID pvReserved) {
  return CoInitializeEx(pvReserved, COINIT_APARTMENTTHREADED);
}

extern "C" HRESULT WINAPI CoInitializeEx(LPVOID pvReserved, DWORD dwCoInit) {
  const DWORD known = COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE | COINIT_SPEED_OVER_MEMORY;
  if (pvReserved || (dwCoInit & ~known)) return E_INVALIDARG;
  const bool multithreaded = (dwCoInit & COINIT_APARTMENTTHREADED) == 0;
  auto& a = orv::com::t_apartment;
  if (a.depth > 0) {
    if (a.multithreaded != multithreaded) return RPC_E_CHANGED_MODE;
    ++a.depth;
    return S_FALSE;
  }
  a.depth = 1;
  a.multithreaded = multithreaded;
  return S_OK;
}

extern "C" void WINAPI CoUninitialize(void) {
  // An unbalanced extra call does nothing, as on Windows.
  if (orv::com::t_apartment.depth > 0) --orv::com::t_apartment.depth;
}

extern "C" HRESULT WINAPI CoInitializeSecurity(PSECURITY_DESCRIPTOR, LONG, SOLE_AUTHENTICATION_SERVICE*, void*,
                                               DWORD dwAuthnLevel, DWORD dwImpLevel, void*, DWORD, void*) {
  if (!ComReady()) return CO_E_NOTINITIALIZED;
  if (dwAuthnLevel > RPC_C_AUTHN_LEVEL_PKT_PRIVACY || dwImpLevel > RPC_C_IMP_LEVEL_DELEGATE) return E_INVALIDARG;
  std::lock_guard<std::mutex> lock(orv::com::g_securityLock);
  if (orv::com::g_securitySet) return RPC_E_TOO_LATE;
  orv::com::g_securitySet = true;
  return S_OK;
}
