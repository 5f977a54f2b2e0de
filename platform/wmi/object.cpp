// Property access on the client's copy of an object; Put changes the copy only,
// PutInstance (services) commits it.
#include "platform/wmi/object.h"

#include "platform/text/ansi.h"
#include "platform/wmi/numeric.h"

namespace orv::wmi::detail {
namespace {

constexpr long WBEM_FLAVOR_ORIGIN_SYSTEM = 0x40;
const char kParameters[] = "__PARAMETERS";

Variant Text(const std::string& s) { return Variant::Str(text::AnsiToWide(s)); }

}  // namespace

WbemObject::WbemObject(wire::Object data) : data_(std::move(data)), changed_(data_.props.size(), false) {}

WbemObject* WbemObject::Make(wire::Object data) { return new WbemObject(std::move(data)); }

WbemObject* WbemObject::From(IWbemClassObject* p) { return dynamic_cast<WbemObject*>(p); }

bool WbemObject::SystemProperty(const std::string& name, Variant* value, CimType* type) const {
  *type = CIM_STRING;
  if (wire::SameName(name, "__CLASS")) { *value = Text(data_.cls); return true; }
  if (wire::SameName(name, "__NAMESPACE")) { *value = Text(data_.ns); return true; }
  if (wire::SameName(name, "__SERVER")) { *value = Text(data_.server); return true; }
  if (wire::SameName(name, "__GENUS")) {
    *type = CIM_SINT32;
    *value = Variant::Int(VT_I4, data_.isClass ? 1 : 2);
    return true;
  }
  std::string path;
  if (wire::SameName(name, "__PATH")) path = data_.Path();
  else if (wire::SameName(name, "__RELPATH")) path = data_.RelPath();
  else return false;
  // An instance that has no key values yet (spawned, arguments) has no path.
  *value = path.empty() ? Variant::Null() : Text(path);
  return true;
}

HRESULT WbemObject::Get(const char16_t* name, long flags, Variant* value, CimType* type, long* flavor) {
  (void)flags;
  if (!name) return WBEM_E_INVALID_PARAMETER;
  std::string n = text::WideToAnsi(name);
  Variant v;
  CimType t = CIM_EMPTY;
  long fl = 0;
  if (n.rfind("__", 0) == 0) {
    if (!SystemProperty(n, &v, &t)) return WBEM_E_NOT_FOUND;
    fl = WBEM_FLAVOR_ORIGIN_SYSTEM;
  } else {
    const wire::Property* p = data_.Find(n);
    if (!p) return WBEM_E_NOT_FOUND;
    v = p->value;
    t = p->type;
  }
  if (value) *value = v;
  if (type) *type = t;
  if (flavor) *flavor = fl;
  return WBEM_S_NO_ERROR;
}

HRESULT WbemObject::Put(const char16_t* name, long flags, const Variant* value, CimType type) {
  (void)flags;
  if (!name) return WBEM_E_INVALID_PARAMETER;
  std::string n = text::WideToAnsi(name);
  if (n.rfind("__", 0) == 0) return WBEM_E_READ_ONLY;
  Variant in = value ? *value : Variant::Null();
  wire::Property* p = data_.Find(n);
  if (!p) {
    // Only definitions (classes and argument lists) can gain properties.
    if (!(data_.isClass || data_.cls == kParameters) || type == CIM_EMPTY) return WBEM_E_NOT_FOUND;
    wire::Property added;
    added.name = n;
    added.type = type;
    data_.props.push_back(added);
    changed_.push_back(false);
    p = &data_.props.back();
  }
  if (type != CIM_EMPTY && type != p->type) return WBEM_E_TYPE_MISMATCH;
  Variant converted;
  HRESULT hr = ToCim(in, p->type, &converted);
  if (Failed(hr)) return hr;
  p->value = converted;
  changed_[static_cast<std::size_t>(p - data_.props.data())] = true;
  return WBEM_S_NO_ERROR;
}

HRESULT WbemObject::GetMethod(const char16_t* name, long flags, IWbemClassObject** inSignature,
                              IWbemClassObject** outSignature) {
  (void)flags;
  if (inSignature) *inSignature = nullptr;
  if (outSignature) *outSignature = nullptr;
  if (!name) return WBEM_E_INVALID_PARAMETER;
  std::string n = text::WideToAnsi(name);
  for (auto& m : data_.methods) {
    if (!wire::SameName(m.name, n)) continue;
    auto signature = [&](const std::vector<wire::Property>& args, IWbemClassObject** out) {
      if (!out || args.empty()) return;
      wire::Object def;
      def.server = data_.server;
      def.ns = data_.ns;
      def.cls = kParameters;
      def.isClass = true;
      def.props = args;
      *out = Make(std::move(def));
    };
    signature(m.in, inSignature);
    signature(m.out, outSignature);
    return WBEM_S_NO_ERROR;
  }
  return WBEM_E_NOT_FOUND;
}

HRESULT WbemObject::SpawnInstance(long flags, IWbemClassObject** instance) {
  (void)flags;
  if (!instance) return WBEM_E_INVALID_PARAMETER;
  wire::Object copy = data_;
  copy.isClass = false;
  for (auto& p : copy.props) p.value = Variant::Null();
  *instance = Make(std::move(copy));
  return WBEM_S_NO_ERROR;
}

std::vector<wire::Property> WbemObject::Changed() const {
  std::vector<wire::Property> out;
  for (std::size_t i = 0; i < data_.props.size(); ++i)
    if (changed_[i]) out.push_back(data_.props[i]);
  return out;
}

}  // namespace orv::wmi::detail
