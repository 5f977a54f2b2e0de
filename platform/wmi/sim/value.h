// A variant's content held by value (type, integer, text), as the simulation keeps
// and carries property values, and its conversions from and to VARIANT.
#pragma once
#include <oleauto.h>

#include <cstdint>
#include <string>
#include <utility>

#include "platform/wmi/sim/numeric.h"

namespace orv::com {

struct Value {
  VARTYPE vt = VT_EMPTY;
  std::int64_t num = 0;  // every integer type and VT_BOOL (0 or -1)
  std::u16string str;    // VT_BSTR

  static Value Int(VARTYPE type, std::int64_t v) {
    Value x;
    x.vt = type;
    x.num = v;
    return x;
  }
  static Value Str(std::u16string s) {
    Value x;
    x.vt = VT_BSTR;
    x.str = std::move(s);
    return x;
  }
  static Value Null() { return Int(VT_NULL, 0); }
};

// The integer a value holds (VT_UI8 read as unsigned, VT_BOOL as 0/-1); false for a
// type that is not an integer.
bool IntegerOf(const Value& v, Number* out);

// Reads a variant; false for a type the simulation does not carry (reals, dates,
// arrays, interfaces, references) and for a VT_BSTR that holds no BSTR.
bool FromVariant(const VARIANT& v, Value* out);
// Fills a variant that holds nothing (made, cleared or initialised); E_OUTOFMEMORY
// when its BSTR cannot be made.
HRESULT ToVariant(const Value& v, VARIANT* out);

// Converts in to the type vt as VariantChangeType does (flags: VARIANT_ALPHABOOL).
HRESULT ChangeType(const Value& in, VARTYPE vt, USHORT flags, Value* out);

}  // namespace orv::com
