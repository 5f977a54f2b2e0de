// The CIM types of WMI properties: their ranges, the variant types WMI hands their
// values out as, and the conversion Put applies.
#pragma once
#include <wbemidl.h>

#include <cstdint>

#include "platform/wmi/sim/value.h"

namespace orv::wmi::detail {

// Range of an integer CIM type; false when the type is no integer type.
bool CimRange(CIMTYPE t, std::int64_t* lo, std::uint64_t* hi);

// The variant type WMI hands out for a property of CIM type t: 8-bit unsigned as
// VT_UI1, 8/16-bit signed as VT_I2, 16/32-bit as VT_I4, 64-bit as decimal text.
VARTYPE VarTypeForCim(CIMTYPE t);

// Converts v to the form a property of CIM type t holds, as WMI's Put does:
// text to number is decimal, ranges are checked; WBEM_E_TYPE_MISMATCH otherwise.
HRESULT ToCim(const com::Value& v, CIMTYPE t, com::Value* out);

}  // namespace orv::wmi::detail
