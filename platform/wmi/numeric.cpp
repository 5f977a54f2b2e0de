// Range-checked integer conversions shared by VariantChangeType and Put.
#include "platform/wmi/numeric.h"

#include <limits>

namespace orv::wmi::detail {
namespace {

bool Blank(char16_t c) { return c == u' ' || c == u'\t'; }

}  // namespace

bool ParseDecimal(const std::u16string& s, Number* out) {
  std::size_t i = 0, end = s.size();
  while (i < end && Blank(s[i])) ++i;
  while (end > i && Blank(s[end - 1])) --end;
  Number n;
  if (i < end && (s[i] == u'-' || s[i] == u'+')) n.negative = s[i++] == u'-';
  if (i == end) return false;
  for (; i < end; ++i) {
    if (s[i] < u'0' || s[i] > u'9') return false;
    std::uint64_t d = static_cast<std::uint64_t>(s[i] - u'0');
    if (n.magnitude > (std::numeric_limits<std::uint64_t>::max() - d) / 10) return false;
    n.magnitude = n.magnitude * 10 + d;
  }
  if (n.magnitude == 0) n.negative = false;
  *out = n;
  return true;
}

std::u16string DecimalText(const Number& n) {
  std::string digits = std::to_string(n.magnitude);
  std::u16string out = n.negative ? u"-" : u"";
  for (char c : digits) out += static_cast<char16_t>(c);
  return out;
}

bool IntegerOf(const Variant& v, Number* out) {
  Number n;
  switch (v.vt) {
    case VT_UI8:
      n.magnitude = static_cast<std::uint64_t>(v.num);
      break;
    case VT_I2: case VT_I4: case VT_I8: case VT_UI1: case VT_UI2: case VT_UI4: case VT_BOOL:
      n.negative = v.num < 0;
      n.magnitude = n.negative ? 0 - static_cast<std::uint64_t>(v.num) : static_cast<std::uint64_t>(v.num);
      break;
    default:
      return false;
  }
  *out = n;
  return true;
}

bool InRange(const Number& n, std::int64_t lo, std::uint64_t hi) {
  if (!n.negative) return n.magnitude <= hi;
  if (lo >= 0) return false;
  return n.magnitude <= 0 - static_cast<std::uint64_t>(lo);
}

std::int64_t Storage(const Number& n) {
  std::uint64_t bits = n.negative ? 0 - n.magnitude : n.magnitude;
  return static_cast<std::int64_t>(bits);
}

bool VarRange(VarType vt, std::int64_t* lo, std::uint64_t* hi) {
  switch (vt) {
    case VT_I2: *lo = INT16_MIN; *hi = INT16_MAX; return true;
    case VT_I4: *lo = INT32_MIN; *hi = INT32_MAX; return true;
    case VT_I8: *lo = INT64_MIN; *hi = INT64_MAX; return true;
    case VT_UI1: *lo = 0; *hi = UINT8_MAX; return true;
    case VT_UI2: *lo = 0; *hi = UINT16_MAX; return true;
    case VT_UI4: *lo = 0; *hi = UINT32_MAX; return true;
    case VT_UI8: *lo = 0; *hi = UINT64_MAX; return true;
    default: return false;
  }
}

bool CimRange(CimType t, std::int64_t* lo, std::uint64_t* hi) {
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

VarType VarTypeForCim(CimType t) {
  switch (t) {
    case CIM_UINT8: return VT_UI1;
    case CIM_SINT8: case CIM_SINT16: return VT_I2;
    case CIM_UINT16: case CIM_SINT32: case CIM_UINT32: return VT_I4;
    case CIM_BOOLEAN: return VT_BOOL;
    default: return VT_BSTR;  // strings, and 64-bit numbers as WMI hands them out
  }
}

HRESULT ToCim(const Variant& v, CimType t, Variant* out) {
  if (v.vt == VT_NULL || v.vt == VT_EMPTY) { *out = Variant::Null(); return WBEM_S_NO_ERROR; }
  Number n;
  bool isInt = IntegerOf(v, &n);
  if (t == CIM_STRING) {
    if (v.vt == VT_BSTR) { *out = v; return WBEM_S_NO_ERROR; }
    if (!isInt) return WBEM_E_TYPE_MISMATCH;
    *out = Variant::Str(DecimalText(n));
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
    *out = Variant::Int(VT_BOOL, value ? -1 : 0);
    return WBEM_S_NO_ERROR;
  }
  std::int64_t lo;
  std::uint64_t hi;
  if (!CimRange(t, &lo, &hi)) return WBEM_E_TYPE_MISMATCH;
  if (v.vt == VT_BSTR) {
    if (!ParseDecimal(v.str, &n)) return WBEM_E_TYPE_MISMATCH;
  } else if (!isInt) {
    return WBEM_E_TYPE_MISMATCH;
  }
  if (!InRange(n, lo, hi)) return WBEM_E_TYPE_MISMATCH;
  VarType vt = VarTypeForCim(t);
  if (vt == VT_BSTR) {
    *out = Variant::Str(DecimalText(n));
  } else if (t == CIM_UINT32) {
    // WMI hands a uint32 out as VT_I4: the same 32 bits, read as signed.
    *out = Variant::Int(vt, static_cast<std::int32_t>(static_cast<std::uint32_t>(n.magnitude)));
  } else {
    *out = Variant::Int(vt, Storage(n));
  }
  return WBEM_S_NO_ERROR;
}

}  // namespace orv::wmi::detail
