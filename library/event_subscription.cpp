// COrvWmiAcpi::OrvWMIEvent: one asynchronous subscription whose sink posts every
// event to the window registered with AddHWND.
#include <objbase.h>
#include <wbemidl.h>

#include "library/OrvWmiAcpi.h"
#include "library/event_sink.h"
#include "library/wmi_connection.h"
#include "platform/base/unique_com.h"

bool COrvWmiAcpi::OrvWMIEvent(const WCHAR* query, char* error, const WCHAR* nameSpace, const WCHAR* language) {
  orv::lib::WmiConnection conn;
  HRESULT hr = conn.Open(nameSpace, language, nullptr, true, 0);
  if (FAILED(hr)) {
    GetWMIErrMsg(hr, error);
    return false;
  }
  orv::com_ptr<IUnsecuredApartment> apartment;
  hr = CoCreateInstance(CLSID_UnsecuredApartment, nullptr, CLSCTX_LOCAL_SERVER, IID_IUnsecuredApartment,
                        apartment.put_void());
  if (FAILED(hr)) {
    GetWMIErrMsg(hr, error);
    return false;
  }
  auto* created = new orv::lib::CEventSink(m_hWnd);
  created->AddRef();
  auto sink = orv::com_ptr<orv::lib::CEventSink>::attach(created);

  orv::com_ptr<IUnknown> stub;
  hr = apartment->CreateObjectStub(sink.get(), stub.put());
  orv::com_ptr<IWbemObjectSink> stubSink;
  if (SUCCEEDED(hr)) hr = stub->QueryInterface(IID_IWbemObjectSink, stubSink.put_void());
  if (FAILED(hr)) {
    GetWMIErrMsg(hr, error);
    return false;
  }
  hr = conn.Subscribe(language, query, stubSink.get());
  if (FAILED(hr)) {
    GetWMIErrMsg(hr, error);
    return false;
  }
  // WMI keeps the stub, and through it the sink, for as long as the subscription runs.
  return true;
}
