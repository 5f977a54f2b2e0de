// COM's apartments, process security, object creation and proxy security
// (combaseapi.h of the Windows SDK), for the simulated build. The simulated COM
// knows the classes of the platform's own servers (the WMI locator, context and
// unsecured apartment).
#pragma once
#include <objidl.h>
#include <rpcdce.h>
#include <unknwn.h>

typedef PVOID PSECURITY_DESCRIPTOR;

typedef enum tagCOINITBASE {
  COINITBASE_MULTITHREADED = 0x0
} COINITBASE;

#define CLSCTX_INPROC (CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER)
#define CLSCTX_ALL (CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER)
#define CLSCTX_SERVER (CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER)

extern "C" {

// Enters the calling thread into an apartment: COINIT_APARTMENTTHREADED for a
// single-threaded one, otherwise the multithreaded one. Counted per thread: S_OK the
// first time, S_FALSE when the thread is already in one of the same model,
// RPC_E_CHANGED_MODE (not counted) for the other model. pvReserved must be NULL.
HRESULT WINAPI CoInitializeEx(LPVOID pvReserved, DWORD dwCoInit);
// Leaves one level of the thread's apartment; an unbalanced call does nothing.
void WINAPI CoUninitialize(void);

// Process-wide security, once: later calls, and calls after the first connection to a
// server (which settles the default security), give RPC_E_TOO_LATE.
HRESULT WINAPI CoInitializeSecurity(PSECURITY_DESCRIPTOR pSecDesc, LONG cAuthSvc,
                                    SOLE_AUTHENTICATION_SERVICE* asAuthSvc, void* pReserved1,
                                    DWORD dwAuthnLevel, DWORD dwImpLevel, void* pAuthList,
                                    DWORD dwCapabilities, void* pReserved3);

// Creates an object of a registered class for the interface riid. REGDB_E_CLASSNOTREG
// when the class has no server of the kinds asked for, CLASS_E_NOAGGREGATION with an
// outer object, CO_E_NOTINITIALIZED on a thread outside every apartment.
HRESULT WINAPI CoCreateInstance(REFCLSID rclsid, LPUNKNOWN pUnkOuter, DWORD dwClsContext, REFIID riid,
                                LPVOID* ppv);

// Sets the authentication of a proxy; E_NOINTERFACE for an object that is no proxy.
HRESULT WINAPI CoSetProxyBlanket(IUnknown* pProxy, DWORD dwAuthnSvc, DWORD dwAuthzSvc,
                                 OLECHAR* pServerPrincName, DWORD dwAuthnLevel, DWORD dwImpLevel,
                                 RPC_AUTH_IDENTITY_HANDLE pAuthInfo, DWORD dwCapabilities);

// Memory that crosses an interface: a callee allocates it, the caller frees it.
LPVOID WINAPI CoTaskMemAlloc(SIZE_T cb);
// Frees a block of CoTaskMemAlloc; NULL does nothing.
void WINAPI CoTaskMemFree(LPVOID pv);

// A stream over a global memory block (a new movable one when hGlobal is
// NULL), its position at the start and its size the block's. With
// fDeleteOnRelease the block is freed with the stream's last reference.
HRESULT WINAPI CreateStreamOnHGlobal(HGLOBAL hGlobal, BOOL fDeleteOnRelease, LPSTREAM* ppstm);

}  // extern "C"
