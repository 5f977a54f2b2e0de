// OLE's base types (wtypesbase.h and wtypes.h of the Windows SDK) for the simulated
// build: OLE characters and strings, BSTR, VARIANT_BOOL, VARTYPE with VARENUM, the
// class contexts of object creation and the property key.
#pragma once
#include <windef.h>
#include <winerror.h>

typedef WCHAR OLECHAR;
typedef OLECHAR* LPOLESTR;
typedef const OLECHAR* LPCOLESTR;
// Wide literals: OLECHAR is 16 bits wide on both builds, wchar_t there and char16_t here.
#define OLESTR(str) u##str

// A length-prefixed OLE string from SysAllocString; NULL stands for the empty string.
typedef OLECHAR* BSTR;
typedef BSTR* LPBSTR;

typedef double DOUBLE;
typedef double DATE;
typedef LONG SCODE;

typedef short VARIANT_BOOL;
#define VARIANT_TRUE (static_cast<VARIANT_BOOL>(-1))
#define VARIANT_FALSE (static_cast<VARIANT_BOOL>(0))

typedef unsigned short VARTYPE;
enum VARENUM {
  VT_EMPTY = 0,
  VT_NULL = 1,
  VT_I2 = 2,
  VT_I4 = 3,
  VT_R4 = 4,
  VT_R8 = 5,
  VT_CY = 6,
  VT_DATE = 7,
  VT_BSTR = 8,
  VT_DISPATCH = 9,
  VT_ERROR = 10,
  VT_BOOL = 11,
  VT_VARIANT = 12,
  VT_UNKNOWN = 13,
  VT_DECIMAL = 14,
  VT_I1 = 16,
  VT_UI1 = 17,
  VT_UI2 = 18,
  VT_UI4 = 19,
  VT_I8 = 20,
  VT_UI8 = 21,
  VT_INT = 22,
  VT_UINT = 23,
  VT_VOID = 24,
  VT_HRESULT = 25,
  VT_LPSTR = 30,
  VT_LPWSTR = 31,
  VT_ARRAY = 0x2000,
  VT_BYREF = 0x4000,
  VT_ILLEGAL = 0xffff,
  VT_TYPEMASK = 0xfff
};

typedef enum tagCLSCTX {
  CLSCTX_INPROC_SERVER = 0x1,
  CLSCTX_INPROC_HANDLER = 0x2,
  CLSCTX_LOCAL_SERVER = 0x4,
  CLSCTX_INPROC_SERVER16 = 0x8,
  CLSCTX_REMOTE_SERVER = 0x10
} CLSCTX;

// A property of a property store: its set (fmtid) and its number in the set.
typedef struct _tagpropertykey {
  GUID fmtid;
  DWORD pid;
} PROPERTYKEY;
