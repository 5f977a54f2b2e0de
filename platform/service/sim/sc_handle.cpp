// The manager's and services' handles in the handle table.
#include "platform/service/sim/sc_handle.h"

namespace orv::svc {

SC_HANDLE NewScHandle(const std::string& name, DWORD access) {
  return reinterpret_cast<SC_HANDLE>(orv::win::RegisterHandle(std::make_shared<ScObject>(name, access)));
}

std::shared_ptr<ScObject> LookupSc(SC_HANDLE h, bool manager, DWORD needed) {
  auto object = orv::win::LookupHandleAs<ScObject>(h);
  if (!object || object->name.empty() != manager) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  if ((object->access & needed) != needed) {
    SetLastError(ERROR_ACCESS_DENIED);
    return nullptr;
  }
  return object;
}

}  // namespace orv::svc
