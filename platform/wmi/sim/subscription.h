// Event subscriptions: each has its own connection to the provider and its own
// thread that hands every event to the sink.
#pragma once
#include <wbemidl.h>

#include <cstdint>
#include <string>

namespace orv::wmi::detail {

// A subscriber whose provider goes away sees SetStatus(WBEM_STATUS_COMPLETE,
// WBEM_E_TRANSPORT_FAILURE) once and no more events; a cancelled one sees
// SetStatus(WBEM_STATUS_COMPLETE, WBEM_E_CALL_CANCELLED). Either way the sink's
// reference is released afterwards.
class Subscriptions {
 public:
  // Subscribes sink to the event class; owner names the services proxy, which
  // alone can cancel it.
  static HRESULT Start(std::uint64_t owner, const std::string& ns, const std::string& cls, IWbemObjectSink* sink);
  // WBEM_E_NOT_FOUND when owner has no running subscription for the sink.
  static HRESULT Cancel(std::uint64_t owner, IWbemObjectSink* sink);
};

}  // namespace orv::wmi::detail
