// OLE automation's strings and variants (oleauto.h of the Windows SDK), for the
// simulated build.
#pragma once
#include <oaidl.h>

// VariantChangeType flags.
#define VARIANT_NOVALUEPROP 0x01
#define VARIANT_ALPHABOOL 0x02

extern "C" {

// A new BSTR holding a copy of psz; NULL for a NULL psz or when memory runs out.
BSTR WINAPI SysAllocString(const OLECHAR* psz);
// A new BSTR of ui characters copied from strIn (left zeroed when strIn is NULL).
BSTR WINAPI SysAllocStringLen(const OLECHAR* strIn, UINT ui);
// Frees a BSTR (nothing for NULL). A pointer that SysAllocString did not hand out is
// a fault of the caller: the simulated build stops the program with a message.
void WINAPI SysFreeString(BSTR bstrString);
// Characters of a BSTR, without the terminator (0 for NULL).
UINT WINAPI SysStringLen(BSTR pbstr);
UINT WINAPI SysStringByteLen(BSTR bstr);

// Sets the type to VT_EMPTY.
void WINAPI VariantInit(VARIANTARG* pvarg);
// Frees what the variant owns (a BSTR, an interface reference) and sets VT_EMPTY.
// DISP_E_BADVARTYPE for a type a variant cannot hold; E_INVALIDARG for NULL.
HRESULT WINAPI VariantClear(VARIANTARG* pvarg);
// Clears the destination and copies the source into it (a new BSTR, one more reference).
HRESULT WINAPI VariantCopy(VARIANTARG* pvargDest, VARIANTARG* pvargSrc);
// Converts pvarSrc to the type vt into pvargDest (which may be pvarSrc): integers
// become their decimal text, VT_BOOL -1 or 0 (True/False with VARIANT_ALPHABOOL),
// VT_EMPTY an empty string; decimal text becomes an integer. DISP_E_TYPEMISMATCH for
// VT_NULL and text that is no number, DISP_E_OVERFLOW for a value out of range; on
// failure the destination is left as it was.
HRESULT WINAPI VariantChangeType(VARIANTARG* pvargDest, VARIANTARG* pvarSrc, USHORT wFlags, VARTYPE vt);

}  // extern "C"
