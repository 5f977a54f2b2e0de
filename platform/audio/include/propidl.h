// The property variant (propidl.h of the Windows SDK), for the simulated build:
// PROPVARIANT with the SDK's member names for the types property stores hand out,
// and the calls that initialise and clear one.
#pragma once
#include <oaidl.h>

#include <cstring>

typedef struct tagPROPVARIANT PROPVARIANT;
// The SDK nests the value union in an outer union with DECIMAL; the members are
// reached by the same names (pv.vt, pv.pwszVal, ...) and lie at the same offsets.
struct tagPROPVARIANT {
  VARTYPE vt;
  WORD wReserved1;
  WORD wReserved2;
  WORD wReserved3;
  union {
    CHAR cVal;
    UCHAR bVal;
    SHORT iVal;
    USHORT uiVal;
    LONG lVal;
    ULONG ulVal;
    INT intVal;
    UINT uintVal;
    LARGE_INTEGER hVal;
    FLOAT fltVal;
    DOUBLE dblVal;
    VARIANT_BOOL boolVal;
    SCODE scode;
    DATE date;
    CLSID* puuid;
    BSTR bstrVal;
    LPSTR pszVal;
    LPWSTR pwszVal;
    IUnknown* punkVal;
  };
};
typedef PROPVARIANT* LPPROPVARIANT;
#define REFPROPVARIANT const PROPVARIANT&

inline void PropVariantInit(PROPVARIANT* pvar) { std::memset(pvar, 0, sizeof(PROPVARIANT)); }

extern "C" {

// Frees what the variant holds (task-memory strings, BSTRs, interfaces) and
// leaves it VT_EMPTY; DISP_E_BADVARTYPE for a type it cannot clear.
HRESULT WINAPI PropVariantClear(PROPVARIANT* pvar);

}  // extern "C"
