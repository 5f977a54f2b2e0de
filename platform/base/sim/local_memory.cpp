// LocalAlloc and LocalFree on the C heap (fixed memory only).
#include <windows.h>

#include <cstdlib>

extern "C" HLOCAL WINAPI LocalAlloc(UINT uFlags, SIZE_T uBytes) {
  if (uFlags & LMEM_MOVEABLE) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  const SIZE_T bytes = uBytes ? uBytes : 1;
  void* p = (uFlags & LMEM_ZEROINIT) ? std::calloc(1, bytes) : std::malloc(bytes);
  if (!p) SetLastError(ERROR_NOT_ENOUGH_MEMORY);
  return p;
}

extern "C" HLOCAL WINAPI LocalFree(HLOCAL hMem) {
  std::free(hMem);
  return nullptr;
}
