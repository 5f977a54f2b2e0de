// The kernel objects a wait (WaitForSingleObject, WaitForMultipleObjects) can end
// on: each offers a descriptor that is readable while it is signalled, so one
// poll over all of them ends on whichever is signalled first; an object without
// such a descriptor (a mutex held by another process) is tried again every few
// milliseconds of the wait.
#pragma once
#include <windows.h>

#include "platform/base/sim/handle_table.h"

namespace orv::win {

// What a wait took from an object.
enum class Taken { Nothing, Signal, Abandoned };

class Waitable : public KernelObject {
 public:
  // Readable while the object is signalled; -1 when the object has no descriptor.
  virtual int WaitFd() const = 0;
  // Takes the signal (or the ownership) for the calling thread; Nothing if it is
  // not there or another waiter took it first; Abandoned for a mutex whose
  // owner ended without releasing it.
  virtual Taken Take() = 0;
};

}  // namespace orv::win
