// The simulated kernel's handle table: every kind of kernel object (files, find
// searches, events, and whatever other areas add) sits behind one HANDLE table,
// so CloseHandle closes any of them as on Windows.
#pragma once
#include <windows.h>

#include <memory>

namespace orv::win {

class KernelObject {
 public:
  virtual ~KernelObject() = default;
};

// Puts the object into the table; the handle is never NULL nor INVALID_HANDLE_VALUE.
HANDLE RegisterHandle(std::shared_ptr<KernelObject> object);

// The object behind a handle (null when the handle is not open).
std::shared_ptr<KernelObject> LookupHandle(HANDLE handle);

// The object behind a handle when it is of kind T.
template <class T>
std::shared_ptr<T> LookupHandleAs(HANDLE handle) {
  return std::dynamic_pointer_cast<T>(LookupHandle(handle));
}

}  // namespace orv::win
