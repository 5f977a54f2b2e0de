// Properties and objects as the catalog builds them.
#include "sim/catalog_objects.h"

#include "platform/text/sim/ansi.h"
#include "platform/wmi/sim/cim.h"

namespace orv::sim {

using com::Value;
using wmi::wire::Object;
using wmi::wire::Property;

Property Prop(const char* name, CIMTYPE type, Value v, bool readOnly, bool key) {
  Property p;
  p.name = name;
  p.type = type;
  wmi::detail::ToCim(v, type, &p.value);
  p.readOnly = readOnly;
  p.key = key;
  return p;
}

Property Text(const char* name, const std::string& value, bool key) {
  return Prop(name, CIM_STRING, Value::Str(text::AnsiToWide(value)), true, key);
}

Property Number(const char* name, CIMTYPE type, std::int64_t value, bool readOnly) {
  return Prop(name, type, Value::Int(VT_I8, value), readOnly);
}

Object MakeObject(const char* ns, const char* cls) {
  Object o;
  o.server = kCatalogServer;
  o.ns = ns;
  o.cls = cls;
  return o;
}

}  // namespace orv::sim
