// Libraries loaded at run time by name, as LoadLibrary: "Name.dll" is the shared
// object "libName.so" beside the program (then the system's search path).
#pragma once
#include "platform/base/types.h"

namespace orv::win {

using FARPROC = void (*)();

// NULL with ERROR_MOD_NOT_FOUND when the library is not there.
HMODULE LoadLibraryA(const char* name);
// NULL with ERROR_PROC_NOT_FOUND for a name the library does not export.
FARPROC GetProcAddress(HMODULE module, const char* name);
BOOL FreeLibrary(HMODULE module);


}  // namespace orv::win
