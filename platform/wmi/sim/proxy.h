// The mark of the simulated COM's proxies: objects that stand for one in a server
// process and so carry an authentication blanket.
#pragma once
#include <objbase.h>

namespace orv::com {

class Proxy {
 public:
  virtual ~Proxy();
  DWORD authnLevel = RPC_C_AUTHN_LEVEL_DEFAULT;
  DWORD impLevel = RPC_C_IMP_LEVEL_IMPERSONATE;
};

}  // namespace orv::com
