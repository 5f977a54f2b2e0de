// The simulated build's <libloaderapi.h>: libraries loaded at run time by name,
// their exports, and the resources linked into the program.
//
// "Name.dll" is the shared object "libName.so", looked for beside the program,
// then on the system's search path. The program's resources are those of its
// resource script, turned into a table at build time and linked in; libraries
// loaded by name have none.
#pragma once
#include "windef.h"

DECLARE_HANDLE(HRSRC);
typedef HANDLE HGLOBAL;

extern "C" {

typedef INT_PTR(WINAPI* FARPROC)();

// NULL with ERROR_MOD_NOT_FOUND when the library is not there.
HMODULE WINAPI LoadLibraryA(LPCSTR lpLibFileName);
// NULL with ERROR_PROC_NOT_FOUND for a name the library does not export.
FARPROC WINAPI GetProcAddress(HMODULE hModule, LPCSTR lpProcName);
BOOL WINAPI FreeLibrary(HMODULE hLibModule);
// NULL: the program itself; else a library already loaded (NULL with
// ERROR_MOD_NOT_FOUND when it is not).
HMODULE WINAPI GetModuleHandleA(LPCSTR lpModuleName);

// lpName and lpType: MAKEINTRESOURCE numbers or names (compared without regard
// to case). NULL with ERROR_RESOURCE_TYPE_NOT_FOUND or ERROR_RESOURCE_NAME_NOT_FOUND.
HRSRC WINAPI FindResourceA(HMODULE hModule, LPCSTR lpName, LPCSTR lpType);
DWORD WINAPI SizeofResource(HMODULE hModule, HRSRC hResInfo);
// The bytes stay loaded for as long as the program runs.
HGLOBAL WINAPI LoadResource(HMODULE hModule, HRSRC hResInfo);
LPVOID WINAPI LockResource(HGLOBAL hResData);

}  // extern "C"

// ---- The program file's own path (implemented by the file-system area).
extern "C" {

// The program file as "<program folder>\<file name>", the program folder being the
// one of platform/fs/sim/paths.h. Only the program itself (hModule NULL) has a
// path here; other modules answer 0 with ERROR_INVALID_HANDLE. A path that does
// not fit is cut to nSize-1 characters and terminated; the answer is then nSize
// and the last error ERROR_INSUFFICIENT_BUFFER.
DWORD WINAPI GetModuleFileNameA(HMODULE hModule, LPSTR lpFilename, DWORD nSize);

}  // extern "C"
