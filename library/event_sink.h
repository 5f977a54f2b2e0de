// CEventSink: receives the firmware's events from WMI and posts each one to the
// window that was registered when the subscription was made.
#pragma once
#include <atomic>

#include "library/OrvWmiAcpi.h"
#include "platform/wmi/wbem.h"

namespace orv::lib {

// The message every firmware event is posted as: wParam the event code, lParam the state byte.
constexpr unsigned kEcEventMessage = 0x4040;

class CEventSink : public wmi::IWbemObjectSink {
 public:
  explicit CEventSink(HWND target) : m_hTarget(target) {}

  wmi::HRESULT QueryInterface(wmi::Iid iid, void** out) override;
  wmi::ULONG AddRef() override;
  wmi::ULONG Release() override;
  wmi::HRESULT Indicate(long count, wmi::IWbemClassObject** objects) override;
  wmi::HRESULT SetStatus(long flags, wmi::HRESULT result, const char16_t* param,
                         wmi::IWbemClassObject* object) override;
  virtual const char* GetRuntimeClassName() const { return "CEventSink"; }

 protected:
  ~CEventSink() override = default;

 private:
  std::atomic<long> m_lRef{0};
  HWND m_hTarget;
};

}  // namespace orv::lib
