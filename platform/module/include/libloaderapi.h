// The simulated build's <libloaderapi.h>: modules of the running program.
#pragma once
#include "windef.h"

// ---- The program file's own path (implemented by the file-system area).
extern "C" {

// The program file as "<program folder>\<file name>", the program folder being the
// one of platform/fs/sim/paths.h. Only the program itself (hModule NULL) has a
// path here; other modules answer 0 with ERROR_INVALID_HANDLE. A path that does
// not fit is cut to nSize-1 characters and terminated; the answer is then nSize
// and the last error ERROR_INSUFFICIENT_BUFFER.
DWORD WINAPI GetModuleFileNameA(HMODULE hModule, LPSTR lpFilename, DWORD nSize);

}  // extern "C"
