// Event objects and waits, as CreateEvent/SetEvent/ResetEvent and
// WaitForSingleObject/WaitForMultipleObjects: an eventfd per event, one poll
// over all of them so a wait ends on whichever is signalled first.
#pragma once
#include "platform/base/sim/handle_table.h"
#include "platform/pipe/errors.h"

namespace orv::pipe {

using ::SECURITY_ATTRIBUTES;

constexpr DWORD WAIT_OBJECT_0 = 0;
constexpr DWORD WAIT_TIMEOUT = 258;
constexpr DWORD WAIT_FAILED = 0xFFFFFFFF;
constexpr DWORD MAXIMUM_WAIT_OBJECTS = 64;

// A kernel object a wait can end on.
class Waitable : public KernelObject {
 public:
  // Readable while the object is signalled.
  virtual int WaitFd() const = 0;
  // Takes the signal after a wait saw it; false if another waiter took it first.
  virtual bool ConsumeSignal() = 0;
};

// Unnamed events only (name must be null, else ERROR_NOT_SUPPORTED).
HANDLE CreateEvent(SECURITY_ATTRIBUTES* attributes, BOOL manualReset, BOOL initialState, const char* name);
BOOL SetEvent(HANDLE event);
BOOL ResetEvent(HANDLE event);

// Waits for any of the objects (waitAll must be FALSE); the lowest signalled index
// wins, and an auto-reset event is reset by the wait that reports it.
DWORD WaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD milliseconds);
DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds);

}  // namespace orv::pipe
