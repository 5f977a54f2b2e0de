// The simulated build's <namedpipeapi.h>, with the pipe calls and constants the
// SDK declares in winbase.h: named pipes of this machine, "\\.\pipe\<name>", one
// instance each, message type, duplex. The server's end is a handle for
// ConnectNamedPipe, ReadFile, WriteFile, GetOverlappedResult, CancelIo,
// DisconnectNamedPipe and CloseHandle; with FILE_FLAG_OVERLAPPED every operation
// that cannot finish at once fails with ERROR_IO_PENDING and completes on the
// pipe's own thread, which then signals the OVERLAPPED record's event; one
// operation may be outstanding at a time (a second gets ERROR_BUSY). Clients use
// CallNamedPipeA. Callers that connect while the instance is busy wait, those with
// their request already there first; one still silent after the pipe's default
// time-out is sent away. Clients talk only to a server of their own account or
// of the system.
#pragma once
#include "minwinbase.h"
#include "windef.h"

#define PIPE_ACCESS_INBOUND 0x1
#define PIPE_ACCESS_OUTBOUND 0x2
#define PIPE_ACCESS_DUPLEX 0x3
#define PIPE_CLIENT_END 0x0
#define PIPE_SERVER_END 0x1
#define PIPE_WAIT 0x0
#define PIPE_NOWAIT 0x1
#define PIPE_READMODE_BYTE 0x0
#define PIPE_READMODE_MESSAGE 0x2
#define PIPE_TYPE_BYTE 0x0
#define PIPE_TYPE_MESSAGE 0x4
#define PIPE_ACCEPT_REMOTE_CLIENTS 0x0
#define PIPE_REJECT_REMOTE_CLIENTS 0x8
#define PIPE_UNLIMITED_INSTANCES 255

#define NMPWAIT_WAIT_FOREVER 0xffffffff
#define NMPWAIT_NOWAIT 0x1
#define NMPWAIT_USE_DEFAULT_WAIT 0x0

extern "C" {

// Creates the one instance of the pipe. Supported: PIPE_ACCESS_DUPLEX with or
// without FILE_FLAG_OVERLAPPED and FILE_FLAG_FIRST_PIPE_INSTANCE, message type and
// read mode, PIPE_WAIT, one instance (others: ERROR_NOT_SUPPORTED). The security
// attributes' descriptor decides who may connect; without one every local account
// may. A default time-out of 0 is 50 ms, as on Windows. INVALID_HANDLE_VALUE with
// ERROR_ACCESS_DENIED when a server already holds the name (or the pipe folder is
// not this account's own).
HANDLE WINAPI CreateNamedPipeA(LPCSTR lpName, DWORD dwOpenMode, DWORD dwPipeMode, DWORD nMaxInstances,
                               DWORD nOutBufferSize, DWORD nInBufferSize, DWORD nDefaultTimeOut,
                               LPSECURITY_ATTRIBUTES lpSecurityAttributes);
// Waits for a client. ERROR_PIPE_CONNECTED when one was connected before the call.
BOOL WINAPI ConnectNamedPipe(HANDLE hNamedPipe, LPOVERLAPPED lpOverlapped);
// Ends the connection; whatever the client has not read yet stays readable for it.
BOOL WINAPI DisconnectNamedPipe(HANDLE hNamedPipe);

// One whole exchange as a client: connect (waiting up to nTimeOut ms for a busy
// pipe; NMPWAIT_USE_DEFAULT_WAIT is the pipe's own default time-out), write the
// request as one message, read one reply message, close. ERROR_FILE_NOT_FOUND
// when no server has the pipe, ERROR_PIPE_BUSY when the wait runs out,
// ERROR_ACCESS_DENIED when the pipe's security refuses the caller,
// ERROR_MORE_DATA (*lpBytesRead = nOutBufferSize, the rest discarded) when the
// reply is longer than the buffer. A server's ReadFile of a message longer than
// its buffer gets ERROR_MORE_DATA and the rest with its next read.
BOOL WINAPI CallNamedPipeA(LPCSTR lpNamedPipeName, LPVOID lpInBuffer, DWORD nInBufferSize, LPVOID lpOutBuffer,
                           DWORD nOutBufferSize, LPDWORD lpBytesRead, DWORD nTimeOut);
// TRUE when a server holds the pipe, FALSE with ERROR_FILE_NOT_FOUND when none
// does (at once, whatever nTimeOut says, as on Windows). A caller never waits to
// connect here: the instance's waiting room takes every caller in, and a busy
// instance shows in how long CallNamedPipeA waits for its turn.
BOOL WINAPI WaitNamedPipeA(LPCSTR lpNamedPipeName, DWORD nTimeOut);

}  // extern "C"
