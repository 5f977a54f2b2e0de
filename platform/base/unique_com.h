// Owners of COM resources, written on the real COM and OLE automation calls so that
// program code uses them on both builds: interface references (com_ptr), BSTRs
// (unique_bstr) and variants (unique_variant).
#pragma once
#include <objbase.h>
#include <oleauto.h>

#include <cstddef>
#include <utility>

#include "platform/base/unique_handle.h"

namespace orv {

// One reference to a COM interface, released when its owner goes; a copy adds one.
template <class T>
class com_ptr {
 public:
  com_ptr() = default;
  com_ptr(std::nullptr_t) {}
  ~com_ptr() { reset(); }
  com_ptr(const com_ptr& other) : p_(other.p_) {
    if (p_) p_->AddRef();
  }
  com_ptr& operator=(const com_ptr& other) {
    com_ptr(other).swap(*this);
    return *this;
  }
  com_ptr(com_ptr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  com_ptr& operator=(com_ptr&& other) noexcept {
    com_ptr(std::move(other)).swap(*this);
    return *this;
  }
  // Takes over a reference the caller holds.
  static com_ptr attach(T* p) {
    com_ptr c;
    c.p_ = p;
    return c;
  }

  T* get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  // For out-parameters: releases what is held and hands out the slot.
  T** put() {
    reset();
    return &p_;
  }
  void** put_void() { return reinterpret_cast<void**>(put()); }
  // Gives up the reference without releasing it.
  T* detach() { return std::exchange(p_, nullptr); }
  void reset() {
    if (T* p = std::exchange(p_, nullptr)) p->Release();
  }
  void swap(com_ptr& other) noexcept { std::swap(p_, other.p_); }

 private:
  T* p_ = nullptr;
};

// A BSTR from SysAllocString, freed with SysFreeString.
using unique_bstr = unique_any<null_handle_traits<BSTR, &SysFreeString>>;

// A new BSTR holding a copy of text (empty when memory runs out).
inline unique_bstr make_bstr(const OLECHAR* text) { return unique_bstr(SysAllocString(text)); }

// A variant that is cleared when its owner goes, so a BSTR or interface it holds is freed.
class unique_variant {
 public:
  unique_variant() { VariantInit(&v_); }
  ~unique_variant() { VariantClear(&v_); }
  unique_variant(const unique_variant&) = delete;
  unique_variant& operator=(const unique_variant&) = delete;

  VARIANT* get() { return &v_; }
  const VARIANT* get() const { return &v_; }
  VARIANT* operator->() { return &v_; }
  const VARIANT* operator->() const { return &v_; }
  // For out-parameters: clears what is held and hands out the variant.
  VARIANT* put() {
    VariantClear(&v_);
    return &v_;
  }

 private:
  VARIANT v_;
};

}  // namespace orv
