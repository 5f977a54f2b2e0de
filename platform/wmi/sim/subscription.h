// Event subscriptions: each has its own connection to the provider and its own
// thread that hands every event to the sink.
#pragma once
#include <wbemidl.h>

#include <cstdint>
#include <string>

namespace orv::wmi::detail {

// A subscription outlives its provider: when the provider goes away (killed or
// stopped) it gets no events until the provider serves again, and then gets them
// again, as WMI keeps a consumer's subscription while a provider is reloaded. A
// provider that sends something other than an event ends it with
// SetStatus(WBEM_STATUS_COMPLETE, WBEM_E_TRANSPORT_FAILURE); a cancelled one sees
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
