// Property keys (propkeydef.h of the Windows SDK), for the simulated build: the
// reference type the property interfaces take, and comparison of keys.
#pragma once
#include <wtypes.h>

#define REFPROPERTYKEY const PROPERTYKEY&

inline bool operator==(REFPROPERTYKEY a, REFPROPERTYKEY b) { return a.pid == b.pid && a.fmtid == b.fmtid; }
inline bool operator!=(REFPROPERTYKEY a, REFPROPERTYKEY b) { return !(a == b); }
