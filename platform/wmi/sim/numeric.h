// Integer values as sign and magnitude, so text, variant and CIM conversions can
// check every 8- to 64-bit range, signed and unsigned, the same way.
#pragma once
#include <oleauto.h>

#include <cstdint>
#include <string>

namespace orv::com {

struct Number {
  bool negative = false;
  std::uint64_t magnitude = 0;
};

// Decimal text with an optional sign; blanks around it are allowed, nothing else.
bool ParseDecimal(const std::u16string& text, Number* out);
std::u16string DecimalText(const Number& n);

// Whether n fits the range [lo, hi] given as sign-magnitude bounds.
bool InRange(const Number& n, std::int64_t lo, std::uint64_t hi);
// The 64-bit pattern that holds n (two's complement for a negative n).
std::int64_t Storage(const Number& n);

// Range of an integer variant type; false when vt is no integer type.
bool VarRange(VARTYPE vt, std::int64_t* lo, std::uint64_t* hi);

}  // namespace orv::com
