// COM's task memory: the blocks a callee hands its caller to free.
#include <objbase.h>

#include <cstdlib>

extern "C" LPVOID WINAPI CoTaskMemAlloc(SIZE_T cb) {
  // A zero-sized request still gets a block of its own, as on Windows.
  return std::malloc(cb ? cb : 1);
}

extern "C" void WINAPI CoTaskMemFree(LPVOID pv) { std::free(pv); }
