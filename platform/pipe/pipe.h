// Named pipes, shaped like CreateNamedPipe, ConnectNamedPipe, ReadFile,
// WriteFile, GetOverlappedResult, DisconnectNamedPipe and CallNamedPipe. One
// instance, message type, duplex. With FILE_FLAG_OVERLAPPED every operation that
// cannot finish at once returns ERROR_IO_PENDING and completes on the pipe's I/O
// thread, which then signals the OVERLAPPED record's event; one operation may be
// outstanding at a time (a second gets ERROR_BUSY).
#pragma once
#include <cstdint>

#include "platform/pipe/event.h"

namespace orv::pipe {

constexpr DWORD PIPE_ACCESS_INBOUND = 0x1;
constexpr DWORD PIPE_ACCESS_OUTBOUND = 0x2;
constexpr DWORD PIPE_ACCESS_DUPLEX = 0x3;
constexpr DWORD FILE_FLAG_FIRST_PIPE_INSTANCE = 0x00080000;
constexpr DWORD FILE_FLAG_OVERLAPPED = 0x40000000;
constexpr DWORD PIPE_TYPE_BYTE = 0x0;
constexpr DWORD PIPE_TYPE_MESSAGE = 0x4;
constexpr DWORD PIPE_READMODE_BYTE = 0x0;
constexpr DWORD PIPE_READMODE_MESSAGE = 0x2;
constexpr DWORD PIPE_WAIT = 0x0;
constexpr DWORD PIPE_NOWAIT = 0x1;
constexpr DWORD PIPE_UNLIMITED_INSTANCES = 255;
constexpr DWORD NMPWAIT_USE_DEFAULT_WAIT = 0x0;
constexpr DWORD NMPWAIT_NOWAIT = 0x1;
constexpr DWORD NMPWAIT_WAIT_FOREVER = 0xFFFFFFFF;
// The default time-out a pipe created with 0 gets, as on Windows.
constexpr DWORD kDefaultPipeTimeout = 50;
constexpr std::uintptr_t STATUS_PENDING = 0x103;

struct OVERLAPPED {
  std::uintptr_t Internal;      // the operation's error number, STATUS_PENDING while it runs
  std::uintptr_t InternalHigh;  // bytes transferred
  DWORD Offset;
  DWORD OffsetHigh;
  HANDLE hEvent;
};

// Creates the one instance of the pipe. Supported: PIPE_ACCESS_DUPLEX with or
// without FILE_FLAG_OVERLAPPED and FILE_FLAG_FIRST_PIPE_INSTANCE, message type
// and read mode, PIPE_WAIT, one instance. The security attributes' descriptor
// (from ConvertStringSecurityDescriptorToSecurityDescriptor) decides who may
// connect; without one every local account may. Fails with ERROR_ACCESS_DENIED
// when a server is already listening on the name or the pipe folder is not this
// account's own; INVALID_HANDLE_VALUE on failure.
HANDLE CreateNamedPipe(const char* name, DWORD openMode, DWORD pipeMode, DWORD maxInstances, DWORD outBufferSize,
                       DWORD inBufferSize, DWORD defaultTimeOut, SECURITY_ATTRIBUTES* attributes);

// Waits for a client. ERROR_PIPE_CONNECTED when one was already waiting.
BOOL ConnectNamedPipe(HANDLE pipe, OVERLAPPED* overlapped);
// Ends the connection; whatever the client has not read yet stays readable for it.
BOOL DisconnectNamedPipe(HANDLE pipe);

// Reads one message. A message longer than size gives ERROR_MORE_DATA with size
// bytes read; the next read returns the rest. ERROR_BROKEN_PIPE when the client is gone.
BOOL ReadFile(HANDLE pipe, void* buffer, DWORD size, DWORD* read, OVERLAPPED* overlapped);
// Writes one message. ERROR_NO_DATA when the client has closed its end.
BOOL WriteFile(HANDLE pipe, const void* buffer, DWORD size, DWORD* written, OVERLAPPED* overlapped);
// The outcome of the operation started with overlapped; with wait FALSE a running
// one gives ERROR_IO_INCOMPLETE.
BOOL GetOverlappedResult(HANDLE pipe, OVERLAPPED* overlapped, DWORD* transferred, BOOL wait);
// Ends the outstanding operation with ERROR_OPERATION_ABORTED.
BOOL CancelIo(HANDLE pipe);

// One whole exchange as a client: connect (waiting up to timeOut ms for a busy
// pipe; NMPWAIT_USE_DEFAULT_WAIT is the pipe's own default time-out), write the
// request as one message, read one reply message, close. ERROR_FILE_NOT_FOUND
// when no server has the pipe, ERROR_PIPE_BUSY when the wait runs out,
// ERROR_ACCESS_DENIED when the pipe's security refuses the caller, ERROR_MORE_DATA
// (read = outSize, the rest discarded) when the reply is longer than outSize.
BOOL CallNamedPipe(const char* name, const void* in, DWORD inSize, void* out, DWORD outSize, DWORD* read,
                   DWORD timeOut);

}  // namespace orv::pipe
