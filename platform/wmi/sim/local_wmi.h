// The platform's own use of WMI, for the areas whose simulated devices the
// notebook's provider serves (power, audio): an apartment for the calling thread
// while it is needed, and a connection to a namespace.
#pragma once
#include <wbemidl.h>

#include "platform/base/unique_com.h"

namespace orv::wmi {

// Holds a COM apartment for the calling thread while it lives: a thread already
// in one keeps it, otherwise one is entered and left again.
class ComScope {
 public:
  ComScope() : init_(CoInitializeEx(nullptr, COINIT_MULTITHREADED)) {}
  ~ComScope() {
    if (SUCCEEDED(init_)) CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

 private:
  HRESULT init_;
};

// Connects to a namespace of the provider (needs a ComScope on the thread).
HRESULT ConnectNamespace(const OLECHAR* ns, orv::com_ptr<IWbemServices>* services);

}  // namespace orv::wmi
