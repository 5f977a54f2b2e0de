// The simulated COM's class table: the platform's servers register their creatable
// classes here, and CoCreateInstance makes objects from it.
#pragma once
#include <objbase.h>

namespace orv::com {

// Makes a new object and hands out its IUnknown with one reference.
using ClassFactory = HRESULT (*)(IUnknown** out);

// Registers clsid as served by the server kinds in clsctx (CLSCTX_INPROC_SERVER,
// CLSCTX_LOCAL_SERVER); returns true so that it can initialise a static.
bool RegisterClassObject(REFCLSID clsid, DWORD clsctx, ClassFactory factory);

}  // namespace orv::com
