// A query's result set, fetched whole by ExecQuery and handed out locally.
#pragma once
#include <wbemidl.h>

#include <mutex>
#include <vector>

#include "platform/wmi/sim/com_object.h"
#include "platform/wmi/sim/wire.h"

namespace orv::wmi::detail {

class Enumerator : public com::ComObject<IEnumWbemClassObject, IID_IEnumWbemClassObject> {
 public:
  // finalStatus is what the provider reported after the last object: a failure
  // there is returned once the objects before it have been handed out.
  Enumerator(std::vector<wire::Object> objects, HRESULT finalStatus)
      : objects_(std::move(objects)), finalStatus_(finalStatus) {}

  HRESULT STDMETHODCALLTYPE Next(LONG lTimeout, ULONG uCount, IWbemClassObject** apObjects,
                                 ULONG* puReturned) override;
  HRESULT STDMETHODCALLTYPE Reset() override { return WBEM_E_NOT_SUPPORTED; }
  HRESULT STDMETHODCALLTYPE NextAsync(ULONG, IWbemObjectSink*) override { return WBEM_E_NOT_SUPPORTED; }
  HRESULT STDMETHODCALLTYPE Clone(IEnumWbemClassObject**) override { return WBEM_E_NOT_SUPPORTED; }
  HRESULT STDMETHODCALLTYPE Skip(LONG, ULONG) override { return WBEM_E_NOT_SUPPORTED; }

 private:
  std::mutex lock_;
  std::vector<wire::Object> objects_;
  std::size_t next_ = 0;
  HRESULT finalStatus_;
};

}  // namespace orv::wmi::detail
