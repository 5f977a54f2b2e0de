// What the simulated proxies ask of the BSTR allocator.
#pragma once
#include <oleauto.h>

namespace orv::com {

// True for a string that SysAllocString handed out and that is not yet freed.
bool IsBstr(const OLECHAR* s);

}  // namespace orv::com
