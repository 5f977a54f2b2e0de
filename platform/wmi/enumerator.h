// A query's result set, fetched whole by ExecQuery and handed out locally.
#pragma once
#include <mutex>
#include <vector>

#include "platform/wmi/wire.h"

namespace orv::wmi::detail {

class Enumerator : public RefCounted<IEnumWbemClassObject, Iid::EnumWbemClassObject> {
 public:
  // finalStatus is what the provider reported after the last object: a failure
  // there is returned once the objects before it have been handed out.
  Enumerator(std::vector<wire::Object> objects, HRESULT finalStatus)
      : objects_(std::move(objects)), finalStatus_(finalStatus) {}
  HRESULT Next(long timeout, ULONG count, IWbemClassObject** objects, ULONG* returned) override;

 private:
  std::mutex lock_;
  std::vector<wire::Object> objects_;
  std::size_t next_ = 0;
  HRESULT finalStatus_;
};

}  // namespace orv::wmi::detail
