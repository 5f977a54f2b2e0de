// The simulated build's <objbase.h>: COM's calls (combaseapi.h), the apartment
// models of CoInitializeEx and the storage access modes.
#pragma once
#include <combaseapi.h>

typedef enum tagCOINIT {
  COINIT_APARTMENTTHREADED = 0x2,
  COINIT_MULTITHREADED = COINITBASE_MULTITHREADED,
  COINIT_DISABLE_OLE1DDE = 0x4,
  COINIT_SPEED_OVER_MEMORY = 0x8
} COINIT;

// Access modes of storages and property stores.
#define STGM_READ 0x00000000L
#define STGM_WRITE 0x00000001L
#define STGM_READWRITE 0x00000002L

extern "C" {

// CoInitializeEx(pvReserved, COINIT_APARTMENTTHREADED).
HRESULT WINAPI CoInitialize(LPVOID pvReserved);

}  // extern "C"
