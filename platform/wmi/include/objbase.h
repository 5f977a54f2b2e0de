// The simulated build's <objbase.h>: COM's calls (combaseapi.h) and the apartment
// models of CoInitializeEx.
#pragma once
#include <combaseapi.h>

typedef enum tagCOINIT {
  COINIT_APARTMENTTHREADED = 0x2,
  COINIT_MULTITHREADED = COINITBASE_MULTITHREADED,
  COINIT_DISABLE_OLE1DDE = 0x4,
  COINIT_SPEED_OVER_MEMORY = 0x8
} COINIT;

extern "C" {

// CoInitializeEx(pvReserved, COINIT_APARTMENTTHREADED).
HRESULT WINAPI CoInitialize(LPVOID pvReserved);

}  // extern "C"
