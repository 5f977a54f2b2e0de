// Machines a test may ask this process's simulated COM and WMI to stand for:
// one where a class is not registered, one whose proxies refuse an
// authentication blanket, and one whose WMI lacks the events of a class.
// Each holds until it is withdrawn.
#pragma once
#include <objbase.h>

#include <string>

namespace orv::com {

// CoCreateInstance of the class answers REGDB_E_CLASSNOTREG.
void RefuseClass(REFCLSID clsid, bool refused);
bool ClassRefused(REFCLSID clsid);
// CoSetProxyBlanket answers E_ACCESSDENIED.
void RefuseProxyBlanket(bool refused);
bool ProxyBlanketRefused();

}  // namespace orv::com

namespace orv::wmi {

// A notification query for the class (its name, as written) answers WBEM_E_INVALID_CLASS.
void RefuseEventClass(const std::string& className, bool refused);
bool EventClassRefused(const std::string& className);

}  // namespace orv::wmi
