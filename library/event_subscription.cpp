// COrvWmiAcpi::OrvWMIEvent: one asynchronous subscription whose sink posts every
// event to the window registered with AddHWND.
#include "library/OrvWmiAcpi.h"
#include "library/event_sink.h"
#include "library/wmi_connection.h"

using namespace orv::wmi;

bool COrvWmiAcpi::OrvWMIEvent(const char16_t* query, char* error, const char16_t* nameSpace,
                              const char16_t* language) {
  orv::lib::WmiConnection conn;
  HRESULT hr = conn.Open(nameSpace, language, nullptr, true, 0);
  if (Failed(hr)) {
    GetWMIErrMsg(hr, error);
    return false;
  }
  ComPtr<IUnsecuredApartment> apartment;
  hr = CoCreateInstance(Clsid::UnsecuredApartment, CLSCTX_LOCAL_SERVER, Iid::UnsecuredApartment,
                        apartment.PutVoid());
  if (Failed(hr)) {
    GetWMIErrMsg(hr, error);
    return false;
  }
  auto* created = new orv::lib::CEventSink(m_hWnd);
  created->AddRef();
  auto sink = ComPtr<orv::lib::CEventSink>::Attach(created);

  ComPtr<IUnknown> stub;
  hr = apartment->CreateObjectStub(sink.Get(), stub.Put());
  ComPtr<IWbemObjectSink> stubSink;
  if (Succeeded(hr)) hr = stub->QueryInterface(Iid::WbemObjectSink, stubSink.PutVoid());
  if (Failed(hr)) {
    GetWMIErrMsg(hr, error);
    return false;
  }
  hr = conn.services()->ExecNotificationQueryAsync(language, query, WBEM_FLAG_SEND_STATUS, conn.context(),
                                                   stubSink.Get());
  if (Failed(hr)) {
    GetWMIErrMsg(hr, error);
    return false;
  }
  // WMI keeps the stub, and through it the sink, for as long as the subscription runs.
  return true;
}
