// IUnknown as the Windows SDK declares it (unknwn.h), for the simulated build: no
// virtual destructor, so an object is freed only by its own Release.
#pragma once
#include <wtypes.h>

extern "C" const IID IID_IUnknown;

struct IUnknown {
  virtual HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppvObject) = 0;
  virtual ULONG STDMETHODCALLTYPE AddRef() = 0;
  virtual ULONG STDMETHODCALLTYPE Release() = 0;
};
typedef IUnknown* LPUNKNOWN;
