// The simulated build's <windows.h>: the base types and calls, and every area's
// Win32 headers that the SDK's windows.h brings in. Each area keeps its headers in
// its own platform/<area>/include folder; the Windows build uses the SDK instead.
#pragma once
#include "windef.h"
#include "winerror.h"
#include "winbase.h"

// The areas' headers, in the SDK's order (an area adds its header by creating it).
#if __has_include(<synchapi.h>)
#include <synchapi.h>
#endif
#if __has_include(<fileapi.h>)
#include <fileapi.h>
#endif
#if __has_include(<namedpipeapi.h>)
#include <namedpipeapi.h>
#endif
#if __has_include(<libloaderapi.h>)
#include <libloaderapi.h>
#endif
#if __has_include(<processthreadsapi.h>)
#include <processthreadsapi.h>
#endif
#if __has_include(<sysinfoapi.h>)
#include <sysinfoapi.h>
#endif
#if __has_include(<securitybaseapi.h>)
#include <securitybaseapi.h>
#endif
#if __has_include(<stringapiset.h>)
#include <stringapiset.h>
#endif
#if __has_include(<winnls.h>)
#include <winnls.h>
#endif
#if __has_include(<wingdi.h>)
#include <wingdi.h>
#endif
#if __has_include(<winuser.h>)
#include <winuser.h>
#endif
#if __has_include(<winreg.h>)
#include <winreg.h>
#endif
#if __has_include(<winsvc.h>)
#include <winsvc.h>
#endif
#if __has_include(<wincon.h>)
#include <wincon.h>
#endif
#if __has_include(<winver.h>)
#include <winver.h>
#endif
// OLE (COM and automation), which the SDK's windows.h includes unless WIN32_LEAN_AND_MEAN.
#if __has_include(<ole2.h>)
#include <ole2.h>
#endif
