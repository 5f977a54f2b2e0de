// The simulated build's <ioapiset.h>: the outcome and cancelling of overlapped
// operations. Files here are read and written at once; the server end of a named
// pipe opened with FILE_FLAG_OVERLAPPED has operations that complete later (see
// namedpipeapi.h).
#pragma once
#include "minwinbase.h"
#include "windef.h"

extern "C" {

// The outcome of the operation started with lpOverlapped: TRUE with the bytes
// transferred, or FALSE with the operation's error as the last error. With bWait
// FALSE an operation still running gives ERROR_IO_INCOMPLETE; with TRUE the call
// waits for it.
BOOL WINAPI GetOverlappedResult(HANDLE hFile, LPOVERLAPPED lpOverlapped, LPDWORD lpNumberOfBytesTransferred,
                                BOOL bWait);
// Ends the handle's outstanding operation, which then completes with
// ERROR_OPERATION_ABORTED (TRUE also when nothing was outstanding).
BOOL WINAPI CancelIo(HANDLE hFile);

}  // extern "C"
