// Property access on the client's copy of an object; Put changes the copy only,
// PutInstance (services) commits it.
#include "platform/wmi/sim/object.h"

#include "platform/text/sim/ansi.h"
#include "platform/wmi/sim/cim.h"

namespace orv::wmi::detail {
namespace {

using com::Value;

const char kParameters[] = "__PARAMETERS";

Value Text(const std::string& s) { return Value::Str(text::AnsiToWide(s)); }

}  // namespace

WbemObject::WbemObject(wire::Object data) : data_(std::move(data)), changed_(data_.props.size(), false) {}

WbemObject* WbemObject::Make(wire::Object data) { return new WbemObject(std::move(data)); }

WbemObject* WbemObject::From(IWbemClassObject* p) { return dynamic_cast<WbemObject*>(p); }

bool WbemObject::SystemProperty(const std::string& name, Value* value, CIMTYPE* type) const {
  *type = CIM_STRING;
  if (wire::SameName(name, "__CLASS")) { *value = Text(data_.cls); return true; }
  if (wire::SameName(name, "__NAMESPACE")) { *value = Text(data_.ns); return true; }
  if (wire::SameName(name, "__SERVER")) { *value = Text(data_.server); return true; }
  if (wire::SameName(name, "__GENUS")) {
    *type = CIM_SINT32;
    *value = Value::Int(VT_I4, data_.isClass ? WBEM_GENUS_CLASS : WBEM_GENUS_INSTANCE);
    return true;
  }
  std::string path;
  if (wire::SameName(name, "__PATH")) path = data_.Path();
  else if (wire::SameName(name, "__RELPATH")) path = data_.RelPath();
  else return false;
  // An instance that has no key values yet (spawned, arguments) has no path.
  *value = path.empty() ? Value::Null() : Text(path);
  return true;
}

HRESULT WbemObject::Get(LPCWSTR wszName, LONG, VARIANT* pVal, CIMTYPE* pType, LONG* plFlavor) {
  if (!wszName) return WBEM_E_INVALID_PARAMETER;
  std::string n = text::WideToAnsi(wszName);
  Value v;
  CIMTYPE t = CIM_EMPTY;
  LONG flavor = WBEM_FLAVOR_ORIGIN_LOCAL;
  if (n.rfind("__", 0) == 0) {
    if (!SystemProperty(n, &v, &t)) return WBEM_E_NOT_FOUND;
    flavor = WBEM_FLAVOR_ORIGIN_SYSTEM;
  } else {
    const wire::Property* p = data_.Find(n);
    if (!p) return WBEM_E_NOT_FOUND;
    v = p->value;
    t = p->type;
  }
  if (pVal && FAILED(com::ToVariant(v, pVal))) return WBEM_E_OUT_OF_MEMORY;
  if (pType) *pType = t;
  if (plFlavor) *plFlavor = flavor;
  return WBEM_S_NO_ERROR;
}

HRESULT WbemObject::Put(LPCWSTR wszName, LONG, VARIANT* pVal, CIMTYPE Type) {
  if (!wszName) return WBEM_E_INVALID_PARAMETER;
  std::string n = text::WideToAnsi(wszName);
  if (n.rfind("__", 0) == 0) return WBEM_E_READ_ONLY;
  Value in = Value::Null();
  if (pVal && !com::FromVariant(*pVal, &in)) return WBEM_E_TYPE_MISMATCH;
  wire::Property* p = data_.Find(n);
  if (!p) {
    // Only definitions (classes and argument lists) can gain properties.
    if (!(data_.isClass || data_.cls == kParameters) || Type == CIM_EMPTY) return WBEM_E_NOT_FOUND;
    wire::Property added;
    added.name = n;
    added.type = Type;
    data_.props.push_back(added);
    changed_.push_back(false);
    p = &data_.props.back();
  }
  if (Type != CIM_EMPTY && Type != p->type) return WBEM_E_TYPE_MISMATCH;
  Value converted;
  HRESULT hr = ToCim(in, p->type, &converted);
  if (FAILED(hr)) return hr;
  p->value = converted;
  changed_[static_cast<std::size_t>(p - data_.props.data())] = true;
  return WBEM_S_NO_ERROR;
}

HRESULT WbemObject::GetMethod(LPCWSTR wszName, LONG, IWbemClassObject** ppInSignature,
                              IWbemClassObject** ppOutSignature) {
  if (ppInSignature) *ppInSignature = nullptr;
  if (ppOutSignature) *ppOutSignature = nullptr;
  if (!wszName) return WBEM_E_INVALID_PARAMETER;
  std::string n = text::WideToAnsi(wszName);
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
    signature(m.in, ppInSignature);
    signature(m.out, ppOutSignature);
    return WBEM_S_NO_ERROR;
  }
  return WBEM_E_NOT_FOUND;
}

HRESULT WbemObject::SpawnInstance(LONG, IWbemClassObject** ppNewInstance) {
  if (!ppNewInstance) return WBEM_E_INVALID_PARAMETER;
  wire::Object copy = data_;
  copy.isClass = false;
  for (auto& p : copy.props) p.value = Value::Null();
  *ppNewInstance = Make(std::move(copy));
  return WBEM_S_NO_ERROR;
}

std::vector<wire::Property> WbemObject::Changed() const {
  std::vector<wire::Property> out;
  for (std::size_t i = 0; i < data_.props.size(); ++i)
    if (changed_[i]) out.push_back(data_.props[i]);
  return out;
}

}  // namespace orv::wmi::detail
