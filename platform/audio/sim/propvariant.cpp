// PropVariantClear for the property variants the simulated stores hand out.
#include <objbase.h>
#include <oleauto.h>
#include <propidl.h>

extern "C" HRESULT WINAPI PropVariantClear(PROPVARIANT* pvar) {
  if (!pvar) return S_OK;
  switch (pvar->vt) {
    case VT_EMPTY: case VT_NULL: case VT_I1: case VT_UI1: case VT_I2: case VT_UI2: case VT_I4: case VT_UI4:
    case VT_I8: case VT_UI8: case VT_INT: case VT_UINT: case VT_R4: case VT_R8: case VT_BOOL: case VT_ERROR:
    case VT_DATE:
      break;
    case VT_LPSTR:
      CoTaskMemFree(pvar->pszVal);
      break;
    case VT_LPWSTR:
      CoTaskMemFree(pvar->pwszVal);
      break;
    case VT_BSTR:
      SysFreeString(pvar->bstrVal);
      break;
    case VT_UNKNOWN:
      if (pvar->punkVal) pvar->punkVal->Release();
      break;
    default:
      return DISP_E_BADVARTYPE;
  }
  PropVariantInit(pvar);
  return S_OK;
}
