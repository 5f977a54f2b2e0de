// Connection steps shared by the query, set, count and subscription operations.
#include "library/wmi_connection.h"

namespace orv::lib {

using namespace orv::wmi;

HRESULT WmiConnection::Open(const char16_t* nameSpace, const char16_t* language, const char16_t* query,
                            bool withContext, long queryFlags) {
  const std::uint32_t clsctx = CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER;
  HRESULT hr = CoCreateInstance(Clsid::WbemLocator, clsctx, Iid::WbemLocator, locator_.PutVoid());
  if (Failed(hr)) { failed_ = Step::Locator; return hr; }
  if (withContext) {
    hr = CoCreateInstance(Clsid::WbemContext, clsctx, Iid::WbemContext, context_.PutVoid());
    if (Failed(hr)) { failed_ = Step::Context; return hr; }
  }
  hr = locator_->ConnectServer(nameSpace, nullptr, nullptr, nullptr, 0, nullptr, context_.Get(),
                               services_.Put());
  if (Failed(hr)) { failed_ = Step::Connect; return hr; }
  hr = CoSetProxyBlanket(services_.Get(), RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, RPC_C_AUTHN_LEVEL_CALL,
                         RPC_C_IMP_LEVEL_IMPERSONATE, EOAC_NONE);
  if (Failed(hr)) { failed_ = Step::Security; return hr; }
  if (!query) return S_OK;  // a subscription runs its own query
  hr = services_->ExecQuery(language, query, queryFlags, nullptr, results_.Put());
  if (Failed(hr)) { failed_ = Step::Query; return hr; }
  return S_OK;
}

HRESULT WmiConnection::Seek(std::int64_t index, ComPtr<IWbemClassObject>* chosen) {
  for (std::int64_t i = 0; i <= index; ++i) {
    ComPtr<IWbemClassObject> object;
    ULONG returned = 0;
    HRESULT hr = results_->Next(WBEM_INFINITE, 1, object.Put(), &returned);
    bool ended = hr == WBEM_S_FALSE && returned == 0;
    // Once the results have ended no later object can exist: stop passing over,
    // so a huge index costs nothing.
    if (ended) return WBEM_S_FALSE;
    if (i < index) continue;
    if (Failed(hr)) return hr;
    if (!object) return WBEM_S_FALSE;
    *chosen = std::move(object);
    return S_OK;
  }
  return WBEM_S_FALSE;
}

HRESULT WmiConnection::Count(std::int32_t* count) {
  *count = 0;
  for (;;) {
    ComPtr<IWbemClassObject> object;
    ULONG returned = 0;
    HRESULT hr = results_->Next(WBEM_INFINITE, 1, object.Put(), &returned);
    if (hr == WBEM_S_FALSE && returned == 0) return S_OK;
    if (Failed(hr)) return hr;
    ++*count;
  }
}

}  // namespace orv::lib
