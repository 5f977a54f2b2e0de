// Variant initialisation, clearing and type conversion.
#include "platform/wmi/com.h"
#include "platform/wmi/numeric.h"

namespace orv::wmi {

void VariantInit(Variant* v) {
  if (v) *v = Variant();
}

HRESULT VariantClear(Variant* v) {
  if (!v) return E_INVALIDARG;
  *v = Variant();
  return S_OK;
}

HRESULT VariantChangeType(Variant* dst, const Variant* src, std::uint16_t flags, VarType vt) {
  (void)flags;
  if (!dst || !src) return E_INVALIDARG;
  if (src->vt == vt) { if (dst != src) *dst = *src; return S_OK; }
  if (vt == VT_EMPTY) { *dst = Variant(); return S_OK; }
  if (src->vt == VT_NULL || vt == VT_NULL) return DISP_E_TYPEMISMATCH;
  if (src->vt == VT_EMPTY && vt == VT_BSTR) { *dst = Variant::Str(u""); return S_OK; }
  detail::Number n;
  if (src->vt == VT_EMPTY) {
    // the zero of a number type
  } else if (src->vt == VT_BSTR) {
    if (vt != VT_BSTR && !detail::ParseDecimal(src->str, &n)) return DISP_E_TYPEMISMATCH;
  } else if (!detail::IntegerOf(*src, &n)) {
    return DISP_E_TYPEMISMATCH;
  }
  Variant out;
  if (vt == VT_BSTR) {
    out = Variant::Str(detail::DecimalText(n));
  } else if (vt == VT_BOOL) {
    out = Variant::Int(VT_BOOL, n.magnitude ? -1 : 0);
  } else {
    std::int64_t lo;
    std::uint64_t hi;
    if (!detail::VarRange(vt, &lo, &hi)) return DISP_E_TYPEMISMATCH;
    if (!detail::InRange(n, lo, hi)) return DISP_E_OVERFLOW;
    out = Variant::Int(vt, detail::Storage(n));
  }
  *dst = out;
  return S_OK;
}

}  // namespace orv::wmi
