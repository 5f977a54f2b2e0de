// Decimal text and range checks shared by the variant and CIM conversions.
#include "platform/wmi/sim/numeric.h"

#include <limits>

namespace orv::com {
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

bool InRange(const Number& n, std::int64_t lo, std::uint64_t hi) {
  if (!n.negative) return n.magnitude <= hi;
  if (lo >= 0) return false;
  return n.magnitude <= 0 - static_cast<std::uint64_t>(lo);
}

std::int64_t Storage(const Number& n) {
  std::uint64_t bits = n.negative ? 0 - n.magnitude : n.magnitude;
  return static_cast<std::int64_t>(bits);
}

bool VarRange(VARTYPE vt, std::int64_t* lo, std::uint64_t* hi) {
  switch (vt) {
    case VT_I1: *lo = INT8_MIN; *hi = INT8_MAX; return true;
    case VT_I2: *lo = INT16_MIN; *hi = INT16_MAX; return true;
    case VT_I4: case VT_INT: *lo = INT32_MIN; *hi = INT32_MAX; return true;
    case VT_I8: *lo = INT64_MIN; *hi = INT64_MAX; return true;
    case VT_UI1: *lo = 0; *hi = UINT8_MAX; return true;
    case VT_UI2: *lo = 0; *hi = UINT16_MAX; return true;
    case VT_UI4: case VT_UINT: *lo = 0; *hi = UINT32_MAX; return true;
    case VT_UI8: *lo = 0; *hi = UINT64_MAX; return true;
    default: return false;
  }
}

}  // namespace orv::com
