// Handles of the service control manager and of its services: the service each
// names (none for the manager) and the access it was opened with.
#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "platform/base/sim/handle_table.h"

namespace orv::svc {

class ScObject : public orv::win::KernelObject {
 public:
  ScObject(std::string name, DWORD access) : name(std::move(name)), access(access) {}
  std::string name;  // empty for the manager
  DWORD access;
};

SC_HANDLE NewScHandle(const std::string& name, DWORD access);

// The object behind h when it is a service (or, with manager, the manager) handle
// granted every right in needed; null with the last error set otherwise.
std::shared_ptr<ScObject> LookupSc(SC_HANDLE h, bool manager, DWORD needed);

}  // namespace orv::svc
