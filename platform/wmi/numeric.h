// Integer values as sign and magnitude, so text, variant and CIM conversions can
// check every 8- to 64-bit range, signed and unsigned, the same way.
#pragma once
#include <cstdint>
#include <string>

#include "platform/wmi/wbem.h"

namespace orv::wmi::detail {

struct Number {
  bool negative = false;
  std::uint64_t magnitude = 0;
};

// Decimal text with an optional sign; blanks around it are allowed, nothing else.
bool ParseDecimal(const std::u16string& text, Number* out);
std::u16string DecimalText(const Number& n);

// The integer a variant holds (VT_UI8 read as unsigned, VT_BOOL as 0/-1); false
// for a type that is not an integer.
bool IntegerOf(const Variant& v, Number* out);
// Whether n fits the range [lo, hi] given as sign-magnitude bounds.
bool InRange(const Number& n, std::int64_t lo, std::uint64_t hi);
// The bit pattern kept in Variant::num for n.
std::int64_t Storage(const Number& n);

// Range of an integer variant type; false when vt is no integer type.
bool VarRange(VarType vt, std::int64_t* lo, std::uint64_t* hi);
// Range of an integer CIM type; false when the type is no integer type.
bool CimRange(CimType t, std::int64_t* lo, std::uint64_t* hi);

// The variant type WMI hands out for a property of CIM type t: 8-bit unsigned as
// VT_UI1, 8/16-bit signed as VT_I2, 16/32-bit as VT_I4, 64-bit as decimal text.
VarType VarTypeForCim(CimType t);

// Converts v to the form a property of CIM type t holds, as WMI's Put does:
// text to number is decimal, ranges are checked; WBEM_E_TYPE_MISMATCH otherwise.
HRESULT ToCim(const Variant& v, CimType t, Variant* out);

}  // namespace orv::wmi::detail
