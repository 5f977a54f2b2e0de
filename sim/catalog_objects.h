// Building blocks of the catalog's objects: properties of a CIM type, with their
// values converted as WMI stores them, and objects of a class.
#pragma once
#include <cstdint>
#include <string>

#include "platform/wmi/sim/wire.h"

namespace orv::sim {

// The catalog's machine name in every "__PATH".
constexpr const char* kCatalogServer = "ORVBOOK";

wmi::wire::Property Prop(const char* name, CIMTYPE type, com::Value v, bool readOnly = true, bool key = false);
wmi::wire::Property Text(const char* name, const std::string& value, bool key = false);
wmi::wire::Property Number(const char* name, CIMTYPE type, std::int64_t value, bool readOnly = true);
// An object of the class in the namespace, without properties.
wmi::wire::Object MakeObject(const char* ns, const char* cls);

}  // namespace orv::sim
