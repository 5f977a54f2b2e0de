// Reading and writing the variant types the simulation carries, and the conversion
// rules of VariantChangeType.
#include "platform/wmi/sim/value.h"

#include <type_traits>

#include "platform/wmi/sim/bstr.h"

namespace orv::com {

bool IntegerOf(const Value& v, Number* out) {
  Number n;
  switch (v.vt) {
    case VT_UI8:
      n.magnitude = static_cast<std::uint64_t>(v.num);
      break;
    case VT_I1: case VT_I2: case VT_I4: case VT_I8: case VT_INT: case VT_UI1: case VT_UI2: case VT_UI4:
    case VT_UINT: case VT_BOOL:
      n.negative = v.num < 0;
      n.magnitude = n.negative ? 0 - static_cast<std::uint64_t>(v.num) : static_cast<std::uint64_t>(v.num);
      break;
    default:
      return false;
  }
  *out = n;
  return true;
}

namespace {

// Calls f with the member of v that holds an integer of type vt; false when vt is
// no integer type.
template <class Variant, class F>
bool WithIntegerMember(Variant& v, VARTYPE vt, F f) {
  switch (vt) {
    case VT_I1: f(v.cVal); return true;
    case VT_UI1: f(v.bVal); return true;
    case VT_I2: f(v.iVal); return true;
    case VT_UI2: f(v.uiVal); return true;
    case VT_I4: f(v.lVal); return true;
    case VT_UI4: f(v.ulVal); return true;
    case VT_INT: f(v.intVal); return true;
    case VT_UINT: f(v.uintVal); return true;
    case VT_I8: f(v.llVal); return true;
    case VT_UI8: f(v.ullVal); return true;
    case VT_BOOL: f(v.boolVal); return true;  // VARIANT_TRUE is -1
    default: return false;
  }
}

}  // namespace

bool FromVariant(const VARIANT& v, Value* out) {
  Value x;
  x.vt = v.vt;
  if (v.vt == VT_BSTR) {
    if (v.bstrVal && !IsBstr(v.bstrVal)) return false;
    x.str.assign(v.bstrVal ? v.bstrVal : u"", SysStringLen(v.bstrVal));
  } else if (v.vt != VT_EMPTY && v.vt != VT_NULL &&
             !WithIntegerMember(v, v.vt, [&](const auto& m) { x.num = static_cast<std::int64_t>(m); })) {
    return false;
  }
  *out = std::move(x);
  return true;
}

HRESULT ToVariant(const Value& v, VARIANT* out) {
  VARIANT x;
  VariantInit(&x);
  if (v.vt == VT_BSTR) {
    x.bstrVal = SysAllocStringLen(v.str.data(), static_cast<UINT>(v.str.size()));
    if (!x.bstrVal) return E_OUTOFMEMORY;
  } else {
    WithIntegerMember(x, v.vt, [&](auto& m) { m = static_cast<std::remove_reference_t<decltype(m)>>(v.num); });
  }
  x.vt = v.vt;
  *out = x;
  return S_OK;
}

HRESULT ChangeType(const Value& in, VARTYPE vt, USHORT flags, Value* out) {
  if (in.vt == vt) { *out = in; return S_OK; }
  if (vt == VT_EMPTY) { *out = Value(); return S_OK; }
  if (in.vt == VT_NULL || vt == VT_NULL) return DISP_E_TYPEMISMATCH;
  if (in.vt == VT_EMPTY && vt == VT_BSTR) { *out = Value::Str(u""); return S_OK; }
  Number n;
  if (in.vt == VT_EMPTY) {
    // the zero of a number type
  } else if (in.vt == VT_BSTR) {
    if (!ParseDecimal(in.str, &n)) return DISP_E_TYPEMISMATCH;
  } else if (!IntegerOf(in, &n)) {
    return DISP_E_TYPEMISMATCH;
  }
  if (vt == VT_BSTR) {
    if (in.vt == VT_BOOL && (flags & VARIANT_ALPHABOOL)) *out = Value::Str(n.magnitude ? u"True" : u"False");
    else *out = Value::Str(DecimalText(n));
    return S_OK;
  }
  if (vt == VT_BOOL) { *out = Value::Int(VT_BOOL, n.magnitude ? -1 : 0); return S_OK; }
  std::int64_t lo;
  std::uint64_t hi;
  if (!VarRange(vt, &lo, &hi)) return DISP_E_TYPEMISMATCH;
  if (!InRange(n, lo, hi)) return DISP_E_OVERFLOW;
  *out = Value::Int(vt, Storage(n));
  return S_OK;
}

}  // namespace orv::com
