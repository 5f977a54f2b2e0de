// The process token's shutdown privilege and the power-state request it guards.
// There is one process token, so the privilege's state is the process's.
#include <atomic>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>

#include "platform/base/error.h"
#include "platform/base/sim/handle_table.h"
#include "platform/home/sim/home.h"
#include "platform/power/power.h"

namespace orv::win {
namespace {

// The locally unique id this machine gives the shutdown privilege.
constexpr LUID kShutdownLuid = {19, 0};

std::atomic<bool> g_shutdownEnabled{false};

class Token : public KernelObject {
 public:
  explicit Token(DWORD access) : access_(access) {}
  DWORD access() const { return access_; }

 private:
  DWORD access_;
};

}  // namespace

HANDLE GetCurrentProcess() { return INVALID_HANDLE_VALUE; }  // (HANDLE)-1, as on Win32

BOOL OpenProcessToken(HANDLE process, DWORD access, HANDLE* token) {
  if (!token || process != GetCurrentProcess()) {
    SetLastError(token ? ERROR_INVALID_HANDLE : ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  *token = RegisterHandle(std::make_shared<Token>(access));
  return TRUE;
}

BOOL LookupPrivilegeValueA(const char*, const char* name, LUID* luid) {
  if (!luid || !name) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (std::strcmp(name, SE_SHUTDOWN_NAME) != 0) {
    SetLastError(ERROR_NO_SUCH_PRIVILEGE);
    return FALSE;
  }
  *luid = kShutdownLuid;
  return TRUE;
}

BOOL AdjustTokenPrivileges(HANDLE token, BOOL disableAll, TOKEN_PRIVILEGES* newState, DWORD,
                           TOKEN_PRIVILEGES* previousState, DWORD* returnLength) {
  auto object = LookupHandleAs<Token>(token);
  if (!object) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (!(object->access() & TOKEN_ADJUST_PRIVILEGES)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  if (previousState || (!disableAll && !newState)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (returnLength) *returnLength = 0;
  if (disableAll) {
    g_shutdownEnabled = false;
    SetLastError(ERROR_SUCCESS);
    return TRUE;
  }
  bool allAssigned = true;
  for (DWORD i = 0; i < newState->PrivilegeCount; ++i) {
    const LUID_AND_ATTRIBUTES& p = newState->Privileges[i];
    if (p.Luid.LowPart == kShutdownLuid.LowPart && p.Luid.HighPart == kShutdownLuid.HighPart)
      g_shutdownEnabled = (p.Attributes & SE_PRIVILEGE_ENABLED) != 0;
    else
      allAssigned = false;
  }
  SetLastError(allAssigned ? ERROR_SUCCESS : ERROR_NOT_ALL_ASSIGNED);
  return TRUE;
}

BOOL SetSystemPowerState(BOOL suspend, BOOL force) {
  if (!g_shutdownEnabled) {
    SetLastError(ERROR_PRIVILEGE_NOT_HELD);
    return FALSE;
  }
  std::FILE* log = std::fopen(orv::home::Path("power.log").c_str(), "a");
  if (!log) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  std::fprintf(log, "%lld %s%s\n", static_cast<long long>(std::time(nullptr)), suspend ? "suspend" : "hibernate",
               force ? " forced" : "");
  const bool written = std::fclose(log) == 0;
  if (!written) SetLastError(ERROR_WRITE_FAULT);
  return written ? TRUE : FALSE;
}

}  // namespace orv::win
