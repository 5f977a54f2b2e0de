// Range-checked conversion of values into the CIM type of a property.
#include "platform/wmi/sim/cim.h"

namespace orv::wmi::detail {

using com::Number;
using com::Value;

bool CimRange(CIMTYPE t, std::int64_t* lo, std::uint64_t* hi) {
  switch (t) {
    case CIM_SINT8: *lo = INT8_MIN; *hi = INT8_MAX; return true;
    case CIM_UINT8: *lo = 0; *hi = UINT8_MAX; return true;
    case CIM_SINT16: *lo = INT16_MIN; *hi = INT16_MAX; return true;
    case CIM_UINT16: *lo = 0; *hi = UINT16_MAX; return true;
    case CIM_SINT32: *lo = INT32_MIN; *hi = INT32_MAX; return true;
    case CIM_UINT32: *lo = 0; *hi = UINT32_MAX; return true;
    case CIM_SINT64: *lo = INT64_MIN; *hi = INT64_MAX; return true;
    case CIM_UINT64: *lo = 0; *hi = UINT64_MAX; return true;
    default: return false;
  }
}

VARTYPE VarTypeForCim(CIMTYPE t) {
  switch (t) {
    case CIM_UINT8: return VT_UI1;
    case CIM_SINT8: case CIM_SINT16: return VT_I2;
    case CIM_UINT16: case CIM_SINT32: case CIM_UINT32: return VT_I4;
    case CIM_BOOLEAN: return VT_BOOL;
    default: return VT_BSTR;  // strings, and 64-bit numbers as WMI hands them out
  }
}

HRESULT ToCim(const Value& v, CIMTYPE t, Value* out) {
  if (v.vt == VT_NULL || v.vt == VT_EMPTY) { *out = Value::Null(); return WBEM_S_NO_ERROR; }
  Number n;
  bool isInt = IntegerOf(v, &n);
  if (t == CIM_STRING) {
    if (v.vt == VT_BSTR) { *out = v; return WBEM_S_NO_ERROR; }
    if (!isInt) return WBEM_E_TYPE_MISMATCH;
    *out = Value::Str(com::DecimalText(n));
    return WBEM_S_NO_ERROR;
  }
  if (t == CIM_BOOLEAN) {
    bool value;
    if (v.vt == VT_BSTR) {
      std::u16string s;
      for (char16_t c : v.str) s += (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c;
      if (s == u"true") value = true;
      else if (s == u"false") value = false;
      else return WBEM_E_TYPE_MISMATCH;
    } else if (isInt) {
      value = n.magnitude != 0;
    } else {
      return WBEM_E_TYPE_MISMATCH;
    }
    *out = Value::Int(VT_BOOL, value ? -1 : 0);
    return WBEM_S_NO_ERROR;
  }
  std::int64_t lo;
  std::uint64_t hi;
  if (!CimRange(t, &lo, &hi)) return WBEM_E_TYPE_MISMATCH;
  if (v.vt == VT_BSTR) {
    if (!com::ParseDecimal(v.str, &n)) return WBEM_E_TYPE_MISMATCH;
  } else if (!isInt) {
    return WBEM_E_TYPE_MISMATCH;
  }
  if (!com::InRange(n, lo, hi)) return WBEM_E_TYPE_MISMATCH;
  VARTYPE vt = VarTypeForCim(t);
  if (vt == VT_BSTR) {
    *out = Value::Str(com::DecimalText(n));
  } else if (t == CIM_UINT32) {
    // WMI hands a uint32 out as VT_I4: the same 32 bits, read as signed.
    *out = Value::Int(vt, static_cast<std::int32_t>(static_cast<std::uint32_t>(n.magnitude)));
  } else {
    *out = Value::Int(vt, com::Storage(n));
  }
  return WBEM_S_NO_ERROR;
}

}  // namespace orv::wmi::detail
