// The simulated notebook's power source as the power calls see it: a connection
// to its namespace and the reading of the AC line and battery from its objects.
#pragma once
#include <windows.h>
#include <wbemidl.h>

#include "platform/base/unique_com.h"
#include "platform/wmi/sim/local_wmi.h"

namespace orv::power {

constexpr OLECHAR kNamespace[] = OLESTR("root\\Sim");

using wmi::ComScope;

// Connects to the power source's namespace (needs a ComScope on the thread).
HRESULT Connect(orv::com_ptr<IWbemServices>* services);

// A byte-sized property of a power object (Sim_PowerStatus or Sim_PowerEvent);
// false when the object lacks it or it is not a number of 0..255.
bool ReadByte(IWbemClassObject* object, const OLECHAR* name, BYTE* value);

}  // namespace orv::power
