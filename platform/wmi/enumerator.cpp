// Next over the local copy of a result set.
#include "platform/wmi/enumerator.h"

#include "platform/wmi/apartment.h"
#include "platform/wmi/object.h"

namespace orv::wmi::detail {

HRESULT Enumerator::Next(long timeout, ULONG count, IWbemClassObject** objects, ULONG* returned) {
  if (!ComReady()) return CO_E_NOTINITIALIZED;
  if (!returned || (count > 0 && !objects) || timeout < WBEM_INFINITE) return WBEM_E_INVALID_PARAMETER;
  std::lock_guard<std::mutex> lock(lock_);
  ULONG n = 0;
  while (n < count && next_ < objects_.size()) objects[n++] = WbemObject::Make(objects_[next_++]);
  *returned = n;
  if (n == count) return WBEM_S_NO_ERROR;
  if (n == 0 && Failed(finalStatus_)) return finalStatus_;
  return WBEM_S_FALSE;
}

}  // namespace orv::wmi::detail
