// The simulated notebook's power source as the power calls see it: a connection
// to its namespace and the reading of the AC line and battery from its objects.
#pragma once
#include <windows.h>

#include "platform/wmi/wbem.h"

namespace orv::power {

constexpr char16_t kNamespace[] = u"root\\Sim";

// Holds a COM apartment for the calling thread while it lives: a thread already
// in one keeps it, otherwise one is entered and left again.
class ComScope {
 public:
  ComScope() : init_(orv::wmi::CoInitializeEx(true)) {}
  ~ComScope() {
    if (orv::wmi::Succeeded(init_)) orv::wmi::CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

 private:
  orv::wmi::HRESULT init_;
};

// Connects to the power source's namespace (needs a ComScope on the thread).
orv::wmi::HRESULT Connect(orv::wmi::ComPtr<orv::wmi::IWbemServices>* services);

// A byte-sized property of a power object (Sim_PowerStatus or Sim_PowerEvent);
// false when the object lacks it or it is not a number of 0..255.
bool ReadByte(orv::wmi::IWbemClassObject* object, const char16_t* name, BYTE* value);

}  // namespace orv::power
