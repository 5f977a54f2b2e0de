// Connection steps shared by the query, set, count and subscription operations.
#include "library/wmi_connection.h"

#include <objbase.h>

namespace orv::lib {
namespace {

// The BSTR form of a string argument, which WMI needs (none for NULL).
HRESULT ToBstr(const WCHAR* text, unique_bstr* out) {
  out->reset();
  if (!text) return S_OK;
  *out = make_bstr(text);
  return *out ? S_OK : E_OUTOFMEMORY;
}

}  // namespace

HRESULT WmiConnection::Open(const WCHAR* nameSpace, const WCHAR* language, const WCHAR* query, bool withContext,
                            LONG queryFlags) {
  const DWORD clsctx = CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER;
  HRESULT hr = CoCreateInstance(CLSID_WbemLocator, nullptr, clsctx, IID_IWbemLocator, locator_.put_void());
  if (FAILED(hr)) { failed_ = Step::Locator; return hr; }
  if (withContext) {
    hr = CoCreateInstance(CLSID_WbemContext, nullptr, clsctx, IID_IWbemContext, context_.put_void());
    if (FAILED(hr)) { failed_ = Step::Context; return hr; }
  }
  unique_bstr ns;
  hr = ToBstr(nameSpace, &ns);
  if (SUCCEEDED(hr))
    hr = locator_->ConnectServer(ns.get(), nullptr, nullptr, nullptr, 0, nullptr, context_.get(), services_.put());
  if (FAILED(hr)) { failed_ = Step::Connect; return hr; }
  hr = CoSetProxyBlanket(services_.get(), RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, nullptr, RPC_C_AUTHN_LEVEL_CALL,
                         RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE);
  if (FAILED(hr)) { failed_ = Step::Security; return hr; }
  if (!query) return S_OK;  // a subscription runs its own query
  unique_bstr lang, text;
  hr = ToBstr(language, &lang);
  if (SUCCEEDED(hr)) hr = ToBstr(query, &text);
  if (SUCCEEDED(hr)) hr = services_->ExecQuery(lang.get(), text.get(), queryFlags, nullptr, results_.put());
  if (FAILED(hr)) { failed_ = Step::Query; return hr; }
  return S_OK;
}

HRESULT WmiConnection::Seek(std::int64_t index, com_ptr<IWbemClassObject>* chosen) {
  for (std::int64_t i = 0; i <= index; ++i) {
    com_ptr<IWbemClassObject> object;
    ULONG returned = 0;
    HRESULT hr = results_->Next(WBEM_INFINITE, 1, object.put(), &returned);
    bool ended = hr == WBEM_S_FALSE && returned == 0;
    // Once the results have ended no later object can exist: stop passing over,
    // so a huge index costs nothing.
    if (ended) return WBEM_S_FALSE;
    if (i < index) continue;
    if (FAILED(hr)) return hr;
    if (!object) return WBEM_S_FALSE;
    *chosen = std::move(object);
    return S_OK;
  }
  return WBEM_S_FALSE;
}

HRESULT WmiConnection::Count(std::int32_t* count) {
  *count = 0;
  for (;;) {
    com_ptr<IWbemClassObject> object;
    ULONG returned = 0;
    HRESULT hr = results_->Next(WBEM_INFINITE, 1, object.put(), &returned);
    if (hr == WBEM_S_FALSE && returned == 0) return S_OK;
    if (FAILED(hr)) return hr;
    ++*count;
  }
}

HRESULT WmiConnection::Subscribe(const WCHAR* language, const WCHAR* query, IWbemObjectSink* sink) {
  unique_bstr lang, text;
  HRESULT hr = ToBstr(language, &lang);
  if (SUCCEEDED(hr)) hr = ToBstr(query, &text);
  if (FAILED(hr)) return hr;
  return services_->ExecNotificationQueryAsync(lang.get(), text.get(), WBEM_FLAG_SEND_STATUS, context_.get(), sink);
}

}  // namespace orv::lib
