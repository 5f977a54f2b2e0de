// Next over the local copy of a result set.
#include "platform/wmi/sim/enumerator.h"

#include "platform/wmi/sim/apartment.h"
#include "platform/wmi/sim/object.h"

namespace orv::wmi::detail {

HRESULT Enumerator::Next(LONG lTimeout, ULONG uCount, IWbemClassObject** apObjects, ULONG* puReturned) {
  if (!com::ComReady()) return CO_E_NOTINITIALIZED;
  if (!puReturned || (uCount > 0 && !apObjects) || lTimeout < static_cast<LONG>(WBEM_INFINITE))
    return WBEM_E_INVALID_PARAMETER;
  std::lock_guard<std::mutex> lock(lock_);
  ULONG n = 0;
  while (n < uCount && next_ < objects_.size()) apObjects[n++] = WbemObject::Make(objects_[next_++]);
  *puReturned = n;
  if (n == uCount) return WBEM_S_NO_ERROR;
  if (n == 0 && FAILED(finalStatus_)) return finalStatus_;
  return WBEM_S_FALSE;
}

}  // namespace orv::wmi::detail
