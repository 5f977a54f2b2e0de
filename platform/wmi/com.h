// The small part of COM that the WMI client needs: status codes, reference-counted
// interfaces, variants, apartment initialisation and class creation. Each call has
// the Win32 call of the same name behind it in the Windows build.
#pragma once
#include <atomic>
#include <cstdint>
#include <string>
#include <utility>

namespace orv::wmi {

using HRESULT = std::int32_t;
using ULONG = std::uint32_t;

constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002);
constexpr HRESULT E_POINTER = static_cast<HRESULT>(0x80004003);
constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005);
constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000E);
constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057);
constexpr HRESULT CO_E_NOTINITIALIZED = static_cast<HRESULT>(0x800401F0);
constexpr HRESULT REGDB_E_CLASSNOTREG = static_cast<HRESULT>(0x80040154);
constexpr HRESULT RPC_E_CHANGED_MODE = static_cast<HRESULT>(0x80010106);
constexpr HRESULT RPC_E_TOO_LATE = static_cast<HRESULT>(0x80010119);
constexpr HRESULT DISP_E_TYPEMISMATCH = static_cast<HRESULT>(0x80020005);
constexpr HRESULT DISP_E_OVERFLOW = static_cast<HRESULT>(0x8002000A);
// HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE): the WMI service cannot be reached.
constexpr HRESULT RPC_E_SERVER_UNAVAILABLE = static_cast<HRESULT>(0x800706BA);

inline bool Succeeded(HRESULT hr) { return hr >= 0; }
inline bool Failed(HRESULT hr) { return hr < 0; }

// Interface identities (GUIDs on Windows).
enum class Iid { Unknown, WbemLocator, WbemContext, WbemServices, WbemClassObject,
                 EnumWbemClassObject, WbemObjectSink, UnsecuredApartment };
// Creatable classes (CLSIDs on Windows).
enum class Clsid { WbemLocator, WbemContext, UnsecuredApartment };

constexpr std::uint32_t CLSCTX_INPROC_SERVER = 0x1;
constexpr std::uint32_t CLSCTX_LOCAL_SERVER = 0x4;

struct IUnknown {
  virtual HRESULT QueryInterface(Iid iid, void** out) = 0;
  virtual ULONG AddRef() = 0;
  virtual ULONG Release() = 0;

 protected:
  virtual ~IUnknown() = default;
};

// Owning pointer that releases its interface, so every path lets go of what it got.
template <class T>
class ComPtr {
 public:
  ComPtr() = default;
  ~ComPtr() { Reset(); }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ComPtr(ComPtr&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
  ComPtr& operator=(ComPtr&& o) noexcept {
    if (this != &o) { Reset(); p_ = std::exchange(o.p_, nullptr); }
    return *this;
  }
  // Takes over a reference the caller already holds.
  static ComPtr Attach(T* p) { ComPtr c; c.p_ = p; return c; }
  T* Get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  // For out-parameters: releases the current interface and hands out the slot.
  T** Put() { Reset(); return &p_; }
  void** PutVoid() { return reinterpret_cast<void**>(Put()); }
  void Reset() { if (p_) std::exchange(p_, nullptr)->Release(); }

 private:
  T* p_ = nullptr;
};

// Variant types used by WMI (numbers as in VARENUM).
enum VarType : std::uint16_t {
  VT_EMPTY = 0, VT_NULL = 1, VT_I2 = 2, VT_I4 = 3, VT_BSTR = 8, VT_BOOL = 11,
  VT_UI1 = 17, VT_UI2 = 18, VT_UI4 = 19, VT_I8 = 20, VT_UI8 = 21,
};

// A tagged value; strings are UTF-16 as OLE strings are.
struct Variant {
  VarType vt = VT_EMPTY;
  std::int64_t num = 0;  // every integer type and VT_BOOL (0 or -1)
  std::u16string str;    // VT_BSTR

  static Variant Int(VarType type, std::int64_t v) { Variant x; x.vt = type; x.num = v; return x; }
  static Variant Str(std::u16string s) { Variant x; x.vt = VT_BSTR; x.str = std::move(s); return x; }
  static Variant Null() { Variant x; x.vt = VT_NULL; return x; }
};

void VariantInit(Variant* v);
HRESULT VariantClear(Variant* v);
// Converts src to the type vt into dst (dst may be src). Integers become their
// decimal text, VT_EMPTY an empty string; VT_NULL has no text form and gives
// DISP_E_TYPEMISMATCH, as on Windows.
HRESULT VariantChangeType(Variant* dst, const Variant* src, std::uint16_t flags, VarType vt);

// Apartment initialisation, counted per thread like COM's. Every successful call
// (S_OK or S_FALSE) must be balanced by one CoUninitialize on the same thread.
HRESULT CoInitialize();                       // single-threaded apartment
HRESULT CoInitializeEx(bool multithreaded);   // RPC_E_CHANGED_MODE if the thread has the other model
void CoUninitialize();
// Process-wide security: the first call succeeds, later ones give RPC_E_TOO_LATE.
HRESULT CoInitializeSecurity(std::uint32_t authnLevel, std::uint32_t impLevel);
// Creates an object of a creatable class; CO_E_NOTINITIALIZED on a thread without COM.
HRESULT CoCreateInstance(Clsid clsid, std::uint32_t clsctx, Iid iid, void** out);
// Sets the authentication of a proxy obtained from the WMI service.
HRESULT CoSetProxyBlanket(IUnknown* proxy, std::uint32_t authnSvc, std::uint32_t authzSvc,
                          std::uint32_t authnLevel, std::uint32_t impLevel, std::uint32_t caps);

// How deep the calling thread's COM initialisation is (0 when uninitialised);
// lets tests check that every construction was balanced.
int ComInitDepth();

// Authentication constants handed to the two security calls.
constexpr std::uint32_t RPC_C_AUTHN_WINNT = 10;
constexpr std::uint32_t RPC_C_AUTHZ_NONE = 0;
constexpr std::uint32_t RPC_C_AUTHN_LEVEL_DEFAULT = 0;
constexpr std::uint32_t RPC_C_AUTHN_LEVEL_CALL = 3;
constexpr std::uint32_t RPC_C_AUTHN_LEVEL_PKT = 4;
constexpr std::uint32_t RPC_C_IMP_LEVEL_IMPERSONATE = 3;
constexpr std::uint32_t EOAC_NONE = 0;

// Reference counting and QueryInterface for an object implementing one interface I.
template <class I, Iid kIid>
class RefCounted : public I {
 public:
  HRESULT QueryInterface(Iid iid, void** out) override {
    if (!out) return E_POINTER;
    if (iid == Iid::Unknown || iid == kIid) { *out = static_cast<I*>(this); this->AddRef(); return S_OK; }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG AddRef() override { return ++refs_; }
  ULONG Release() override {
    ULONG n = --refs_;
    if (n == 0) delete this;
    return n;
  }

 protected:
  RefCounted() = default;
  ~RefCounted() override = default;

 private:
  std::atomic<ULONG> refs_{1};
};

}  // namespace orv::wmi
