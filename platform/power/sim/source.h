// The simulated notebook's power source as the power calls see it: a connection
// to its namespace and the reading of the AC line and battery from its objects.
#pragma once
#include <windows.h>
#include <wbemidl.h>

#include "platform/base/unique_com.h"

namespace orv::power {

constexpr OLECHAR kNamespace[] = OLESTR("root\\Sim");

// Holds a COM apartment for the calling thread while it lives: a thread already
// in one keeps it, otherwise one is entered and left again.
class ComScope {
 public:
  ComScope() : init_(CoInitializeEx(nullptr, COINIT_MULTITHREADED)) {}
  ~ComScope() {
    if (SUCCEEDED(init_)) CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

 private:
  HRESULT init_;
};

// Connects to the power source's namespace (needs a ComScope on the thread).
HRESULT Connect(orv::com_ptr<IWbemServices>* services);

// A byte-sized property of a power object (Sim_PowerStatus or Sim_PowerEvent);
// false when the object lacks it or it is not a number of 0..255.
bool ReadByte(IWbemClassObject* object, const OLECHAR* name, BYTE* value);

}  // namespace orv::power
