// Connection to the simulated power source and reading of its properties.
#include "platform/power/sim/source.h"

namespace orv::power {

HRESULT Connect(orv::com_ptr<IWbemServices>* services) { return wmi::ConnectNamespace(kNamespace, services); }

bool ReadByte(IWbemClassObject* object, const OLECHAR* name, BYTE* value) {
  orv::unique_variant v;
  if (!object || FAILED(object->Get(name, 0, v.put(), nullptr, nullptr))) return false;
  // A number of 0..255; text is no number here.
  if (v->vt == VT_NULL || v->vt == VT_EMPTY || v->vt == VT_BSTR || FAILED(VariantChangeType(v.get(), v.get(), 0, VT_UI1)))
    return false;
  *value = v->bVal;
  return true;
}

}  // namespace orv::power
