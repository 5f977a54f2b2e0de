// The kernel objects a wait (WaitForSingleObject, WaitForMultipleObjects) can end
// on: each offers a descriptor that is readable while it is signalled, so one
// poll over all of them ends on whichever is signalled first.
#pragma once
#include <windows.h>

#include "platform/base/sim/handle_table.h"

namespace orv::win {

class Waitable : public KernelObject {
 public:
  // Readable while the object is signalled.
  virtual int WaitFd() const = 0;
  // Takes the signal after a wait saw it; false if another waiter took it first.
  virtual bool ConsumeSignal() = 0;
};

}  // namespace orv::win
