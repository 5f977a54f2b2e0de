// One WMI operation's connection: locator, optional context, services and the
// query's result set, each released when the connection goes, on every path.
#pragma once
#include <windows.h>
#include <wbemidl.h>

#include <cstdint>

#include "platform/base/unique_com.h"

namespace orv::lib {

class WmiConnection {
 public:
  enum class Step { None, Locator, Context, Connect, Security, Query };

  // Creates the locator (and a context when withContext), connects to the
  // namespace, sets the proxy security and runs the query (none when query is
  // NULL). Returns the first failing step's status; failedStep() tells which step it was.
  HRESULT Open(const WCHAR* nameSpace, const WCHAR* language, const WCHAR* query, bool withContext,
               LONG queryFlags);
  Step failedStep() const { return failed_; }

  // Fetches objects up to the one at index (0-based) and hands it out: S_OK with
  // the object, WBEM_S_FALSE when the results end before it, or the failing
  // fetch's status. Objects before it are passed over whatever their fetch gave.
  HRESULT Seek(std::int64_t index, com_ptr<IWbemClassObject>* chosen);

  // Counts the remaining objects: S_OK with the count, or the failing fetch's status.
  HRESULT Count(std::int32_t* count);

  // Starts an asynchronous event query whose status reaches the sink too.
  HRESULT Subscribe(const WCHAR* language, const WCHAR* query, IWbemObjectSink* sink);

  IWbemServices* services() const { return services_.get(); }
  IWbemContext* context() const { return context_.get(); }

 private:
  com_ptr<IWbemLocator> locator_;
  com_ptr<IWbemContext> context_;
  com_ptr<IWbemServices> services_;
  com_ptr<IEnumWbemClassObject> results_;
  Step failed_ = Step::None;
};

}  // namespace orv::lib
