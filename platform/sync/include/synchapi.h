// The simulated build's <synchapi.h>, with the wait results the SDK declares in
// winbase.h and winerror.h: events and waits, named mutexes of the logon session,
// and Sleep.
#pragma once
#include "windef.h"
#include "winerror.h"

#define MAXIMUM_WAIT_OBJECTS 64
#define WAIT_OBJECT_0 0x00000000
#define WAIT_ABANDONED 0x00000080
#define WAIT_ABANDONED_0 0x00000080
#define WAIT_TIMEOUT 258L
#define WAIT_FAILED (static_cast<DWORD>(0xFFFFFFFF))

#define EVENT_MODIFY_STATE 0x0002
#define EVENT_ALL_ACCESS (STANDARD_RIGHTS_REQUIRED | SYNCHRONIZE | 0x3)

#define MUTANT_QUERY_STATE 0x0001
#define MUTANT_ALL_ACCESS (STANDARD_RIGHTS_REQUIRED | SYNCHRONIZE | MUTANT_QUERY_STATE)
#define MUTEX_MODIFY_STATE MUTANT_QUERY_STATE
#define MUTEX_ALL_ACCESS MUTANT_ALL_ACCESS

extern "C" {

// Unnamed events only (a name gives NULL with ERROR_NOT_SUPPORTED): each lives in
// its process. Close with CloseHandle.
HANDLE WINAPI CreateEventA(LPSECURITY_ATTRIBUTES lpEventAttributes, BOOL bManualReset, BOOL bInitialState,
                           LPCSTR lpName);
BOOL WINAPI SetEvent(HANDLE hEvent);
BOOL WINAPI ResetEvent(HANDLE hEvent);

// Waits for events and mutexes. Waits for any of the objects only (bWaitAll TRUE
// gives WAIT_FAILED with ERROR_INVALID_PARAMETER); the lowest signalled index
// wins; an auto-reset event is reset by the wait that reports it, and a mutex is
// owned by the waiting thread afterwards (WAIT_ABANDONED_0 + index when its last
// owner's process ended without releasing it).
DWORD WINAPI WaitForMultipleObjects(DWORD nCount, const HANDLE* lpHandles, BOOL bWaitAll, DWORD dwMilliseconds);
DWORD WINAPI WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds);

// Named mutexes of the user's logon session (the state folder is the machine; the
// session is the user's, or the one ORV_SESSION names). The first creator of a
// name makes it (and owns it when bInitialOwner is TRUE); later creators, in any
// process of the session, get a handle to the same mutex with
// ERROR_ALREADY_EXISTS as the last error and their bInitialOwner is ignored. The
// name lives while any handle to it is open; a process that ends lets go of its
// handles and of its ownership, which the next owner learns from WAIT_ABANDONED.
// Ownership is recursive and belongs to a thread; a thread that ends while it
// owns one does not abandon it here (only its process's end does). Unnamed
// mutexes are not supported (ERROR_INVALID_PARAMETER). Close with CloseHandle.
HANDLE WINAPI CreateMutexA(LPSECURITY_ATTRIBUTES lpMutexAttributes, BOOL bInitialOwner, LPCSTR lpName);
// A handle to an existing mutex of the session; NULL with ERROR_FILE_NOT_FOUND when
// no handle to the name is open.
HANDLE WINAPI OpenMutexA(DWORD dwDesiredAccess, BOOL bInheritHandle, LPCSTR lpName);
// FALSE with ERROR_NOT_OWNER when the calling thread does not own the mutex.
BOOL WINAPI ReleaseMutex(HANDLE hMutex);

// Suspends the calling thread for at least dwMilliseconds (INFINITE: for ever).
void WINAPI Sleep(DWORD dwMilliseconds);

}  // extern "C"
