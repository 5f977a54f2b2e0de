// COM values for tests, made and read through the OLE automation calls: BSTR
// arguments that live for one call, variants that clear themselves, and the integer
// or text a variant holds.
#pragma once
#include <oleauto.h>

#include <string>
#include <utility>

#include "platform/base/unique_com.h"

namespace orv::test {

// A BSTR copy of a text for the length of one call: f(Bstr(u"WQL")).
class Bstr {
 public:
  explicit Bstr(const OLECHAR* text) : b_(make_bstr(text)) {}
  explicit Bstr(const std::u16string& text) : Bstr(text.c_str()) {}
  operator BSTR() const { return b_.get(); }

 private:
  unique_bstr b_;
};

// A variant cleared when it goes.
class Var {
 public:
  Var() { VariantInit(&v_); }
  ~Var() { VariantClear(&v_); }
  Var(Var&& other) noexcept : v_(other.v_) { VariantInit(&other.v_); }
  Var(const Var&) = delete;
  Var& operator=(const Var&) = delete;
  Var& operator=(Var&&) = delete;

  // VT_BSTR with a new copy of text.
  static Var Text(const OLECHAR* text) {
    Var v;
    v.v_.vt = VT_BSTR;
    v.v_.bstrVal = SysAllocString(text);
    return v;
  }
  // An integer of type vt, its bits taken from n as the type holds them.
  static Var Int(VARTYPE vt, LONGLONG n) {
    Var v;
    v.v_.vt = vt;
    switch (vt) {
      case VT_I1: v.v_.cVal = static_cast<CHAR>(n); break;
      case VT_UI1: v.v_.bVal = static_cast<BYTE>(n); break;
      case VT_I2: v.v_.iVal = static_cast<SHORT>(n); break;
      case VT_UI2: v.v_.uiVal = static_cast<USHORT>(n); break;
      case VT_I4: v.v_.lVal = static_cast<LONG>(n); break;
      case VT_UI4: v.v_.ulVal = static_cast<ULONG>(n); break;
      case VT_BOOL: v.v_.boolVal = n ? VARIANT_TRUE : VARIANT_FALSE; break;
      default: v.v_.llVal = n; break;  // VT_I8, VT_UI8
    }
    return v;
  }
  static Var Null() {
    Var v;
    v.v_.vt = VT_NULL;
    return v;
  }

  VARIANT* get() { return &v_; }
  const VARIANT* operator->() const { return &v_; }

 private:
  VARIANT v_;
};

// The text of a VT_BSTR variant (empty for any other type).
inline std::u16string TextOf(const VARIANT& v) {
  if (v.vt != VT_BSTR || !v.bstrVal) return std::u16string();
  return std::u16string(v.bstrVal, SysStringLen(v.bstrVal));
}

// The value of a variant converted to VT_I8; false when it does not convert.
inline bool IntOf(const VARIANT& v, LONGLONG* out) {
  Var n;
  VARIANT copy = v;  // VariantChangeType only reads its source
  if (FAILED(VariantChangeType(n.get(), &copy, 0, VT_I8))) return false;
  *out = n->llVal;
  return true;
}

}  // namespace orv::test
