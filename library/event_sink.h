// CEventSink: receives the firmware's events from WMI and posts each one to the
// window that was registered when the subscription was made.
#pragma once
#include <windows.h>
#include <wbemidl.h>

#include <atomic>

namespace orv::lib {

// The message every firmware event is posted as: wParam the event code, lParam the state byte.
constexpr UINT kEcEventMessage = 0x4040;

class CEventSink : public IWbemObjectSink {
 public:
  explicit CEventSink(HWND target) : m_hTarget(target) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE Indicate(LONG lObjectCount, IWbemClassObject** apObjArray) override;
  HRESULT STDMETHODCALLTYPE SetStatus(LONG lFlags, HRESULT hResult, BSTR strParam,
                                      IWbemClassObject* pObjParam) override;
  virtual const char* GetRuntimeClassName() const { return "CEventSink"; }

 protected:
  // Only Release ends a sink.
  virtual ~CEventSink() = default;

 private:
  std::atomic<LONG> m_lRef{0};
  HWND m_hTarget;
};

}  // namespace orv::lib
