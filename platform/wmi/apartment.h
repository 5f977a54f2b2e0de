// What the layer's own objects need to know about COM initialisation, and the
// factories behind CoCreateInstance.
#pragma once
#include "platform/wmi/com.h"

namespace orv::wmi::detail {

// True when the calling thread has initialised COM (either model).
bool ComReady();
// COM sets default process security at the first connection when the program has
// not; a later CoInitializeSecurity is then too late.
void EnsureSecurityInitialised();

// Marks the objects that stand for the remote WMI service, so CoSetProxyBlanket can
// tell a proxy from a local object.
class Proxy {
 public:
  virtual ~Proxy() = default;
  std::uint32_t authnLevel = RPC_C_AUTHN_LEVEL_DEFAULT;
  std::uint32_t impLevel = RPC_C_IMP_LEVEL_IMPERSONATE;
};

HRESULT CreateLocator(void** out);
HRESULT CreateContext(void** out);
HRESULT CreateUnsecuredApartment(void** out);

}  // namespace orv::wmi::detail
