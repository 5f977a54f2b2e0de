// The Win32 base types for the platform's own code, which still names them inside
// its namespace orv::win: the same types as the global ones of <windows.h>.
#pragma once
#include <windows.h>

namespace orv::win {
using ::ATOM;
using ::BOOL;
using ::BYTE;
using ::DWORD;
using ::HANDLE;
using ::HMODULE;
using ::LANGID;
using ::LONG;
using ::LPARAM;
using ::LRESULT;
using ::POINT;
using ::RECT;
using ::UINT;
using ::UINT_PTR;
using ::WORD;
using ::WPARAM;
}  // namespace orv::win
