// One WMI operation's connection: locator, optional context, services and the
// query's result set, each released when the connection goes, on every path.
#pragma once
#include <cstdint>

#include "platform/wmi/wbem.h"

namespace orv::lib {

using wmi::ComPtr;
using wmi::HRESULT;

class WmiConnection {
 public:
  enum class Step { None, Locator, Context, Connect, Security, Query };

  // Creates the locator (and a context when withContext), connects to the
  // namespace, sets the proxy security and runs the query. Returns the first
  // failing step's status; failedStep() tells which step it was.
  HRESULT Open(const char16_t* nameSpace, const char16_t* language, const char16_t* query,
               bool withContext, long queryFlags);
  Step failedStep() const { return failed_; }

  // Fetches objects up to the one at index (0-based) and hands it out: S_OK with
  // the object, WBEM_S_FALSE when the results end before it, or the failing
  // fetch's status. Objects before it are passed over whatever their fetch gave.
  HRESULT Seek(std::int64_t index, ComPtr<wmi::IWbemClassObject>* chosen);

  // Counts the remaining objects: S_OK with the count, or the failing fetch's status.
  HRESULT Count(std::int32_t* count);

  wmi::IWbemServices* services() const { return services_.Get(); }
  wmi::IWbemContext* context() const { return context_.Get(); }

 private:
  ComPtr<wmi::IWbemLocator> locator_;
  ComPtr<wmi::IWbemContext> context_;
  ComPtr<wmi::IWbemServices> services_;
  ComPtr<wmi::IEnumWbemClassObject> results_;
  Step failed_ = Step::None;
};

}  // namespace orv::lib
