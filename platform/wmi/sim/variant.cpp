// VariantInit, VariantClear, VariantCopy and VariantChangeType.
#include <oleauto.h>

#include "platform/wmi/sim/value.h"

namespace {

// Types a variant can hold by value or as a reference to one.
bool Holdable(VARTYPE vt) {
  switch (vt & ~VT_BYREF) {
    case VT_EMPTY: case VT_NULL: case VT_I1: case VT_UI1: case VT_I2: case VT_UI2: case VT_I4: case VT_UI4:
    case VT_I8: case VT_UI8: case VT_INT: case VT_UINT: case VT_R4: case VT_R8: case VT_CY: case VT_DATE:
    case VT_BSTR: case VT_DISPATCH: case VT_ERROR: case VT_BOOL: case VT_UNKNOWN:
      return true;
    default:
      return false;
  }
}

bool HoldsInterface(VARTYPE vt) { return vt == VT_UNKNOWN || vt == VT_DISPATCH; }

}  // namespace

extern "C" void WINAPI VariantInit(VARIANTARG* pvarg) {
  pvarg->vt = VT_EMPTY;
  pvarg->wReserved1 = pvarg->wReserved2 = pvarg->wReserved3 = 0;
}

extern "C" HRESULT WINAPI VariantClear(VARIANTARG* pvarg) {
  if (!pvarg) return E_INVALIDARG;
  if (!Holdable(pvarg->vt)) return DISP_E_BADVARTYPE;
  if (pvarg->vt == VT_BSTR) SysFreeString(pvarg->bstrVal);
  if (HoldsInterface(pvarg->vt) && pvarg->punkVal) pvarg->punkVal->Release();
  VariantInit(pvarg);
  return S_OK;
}

extern "C" HRESULT WINAPI VariantCopy(VARIANTARG* pvargDest, VARIANTARG* pvargSrc) {
  if (!pvargDest || !pvargSrc) return E_INVALIDARG;
  if (!Holdable(pvargSrc->vt)) return DISP_E_BADVARTYPE;
  if (pvargDest == pvargSrc) return S_OK;
  VARIANT copy = *pvargSrc;
  if (copy.vt == VT_BSTR && copy.bstrVal) {
    copy.bstrVal = SysAllocStringLen(pvargSrc->bstrVal, SysStringLen(pvargSrc->bstrVal));
    if (!copy.bstrVal) return E_OUTOFMEMORY;
  }
  if (HoldsInterface(copy.vt) && copy.punkVal) copy.punkVal->AddRef();
  HRESULT hr = VariantClear(pvargDest);
  if (FAILED(hr)) {
    VariantClear(&copy);
    return hr;
  }
  *pvargDest = copy;
  return S_OK;
}

extern "C" HRESULT WINAPI VariantChangeType(VARIANTARG* pvargDest, VARIANTARG* pvarSrc, USHORT wFlags, VARTYPE vt) {
  if (!pvargDest || !pvarSrc) return E_INVALIDARG;
  orv::com::Value in, out;
  if (!orv::com::FromVariant(*pvarSrc, &in)) return DISP_E_TYPEMISMATCH;
  HRESULT hr = orv::com::ChangeType(in, vt, wFlags, &out);
  if (FAILED(hr)) return hr;
  VARIANT made;
  hr = orv::com::ToVariant(out, &made);
  if (FAILED(hr)) return hr;
  // The source is read already, so the destination may be the source.
  VariantClear(pvargDest);
  *pvargDest = made;
  return S_OK;
}
