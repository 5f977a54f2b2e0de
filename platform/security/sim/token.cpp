// The process token and its shutdown privilege. There is one token per process,
// so the privilege's state is the process's.
#include <windows.h>

#include <atomic>
#include <cstring>
#include <memory>

#include "platform/base/sim/handle_table.h"
#include "platform/security/sim/privileges.h"

namespace {

// The locally unique id this machine gives the shutdown privilege.
constexpr LUID kShutdownLuid = {19, 0};

std::atomic<bool> g_shutdownEnabled{false};

class Token : public orv::win::KernelObject {
 public:
  explicit Token(DWORD access) : access_(access) {}
  DWORD access() const { return access_; }

 private:
  DWORD access_;
};

}  // namespace

namespace orv::security {

bool ShutdownPrivilegeEnabled() { return g_shutdownEnabled; }

}  // namespace orv::security

extern "C" HANDLE WINAPI GetCurrentProcess(void) { return INVALID_HANDLE_VALUE; }

extern "C" BOOL WINAPI OpenProcessToken(HANDLE ProcessHandle, DWORD DesiredAccess, PHANDLE TokenHandle) {
  if (!TokenHandle || ProcessHandle != GetCurrentProcess()) {
    SetLastError(TokenHandle ? ERROR_INVALID_HANDLE : ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  *TokenHandle = orv::win::RegisterHandle(std::make_shared<Token>(DesiredAccess));
  return TRUE;
}

extern "C" BOOL WINAPI LookupPrivilegeValueA(LPCSTR, LPCSTR lpName, PLUID lpLuid) {
  if (!lpLuid || !lpName) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (std::strcmp(lpName, SE_SHUTDOWN_NAME) != 0) {
    SetLastError(ERROR_NO_SUCH_PRIVILEGE);
    return FALSE;
  }
  *lpLuid = kShutdownLuid;
  return TRUE;
}

extern "C" BOOL WINAPI AdjustTokenPrivileges(HANDLE TokenHandle, BOOL DisableAllPrivileges,
                                             PTOKEN_PRIVILEGES NewState, DWORD, PTOKEN_PRIVILEGES PreviousState,
                                             PDWORD ReturnLength) {
  auto token = orv::win::LookupHandleAs<Token>(TokenHandle);
  if (!token) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (!(token->access() & TOKEN_ADJUST_PRIVILEGES)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  if (PreviousState || (!DisableAllPrivileges && !NewState)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (ReturnLength) *ReturnLength = 0;
  if (DisableAllPrivileges) {
    g_shutdownEnabled = false;
    SetLastError(ERROR_SUCCESS);
    return TRUE;
  }
  bool allAssigned = true;
  for (DWORD i = 0; i < NewState->PrivilegeCount; ++i) {
    const LUID_AND_ATTRIBUTES& p = NewState->Privileges[i];
    if (p.Luid.LowPart == kShutdownLuid.LowPart && p.Luid.HighPart == kShutdownLuid.HighPart)
      g_shutdownEnabled = (p.Attributes & SE_PRIVILEGE_ENABLED) != 0;
    else
      allAssigned = false;
  }
  SetLastError(allAssigned ? ERROR_SUCCESS : ERROR_NOT_ALL_ASSIGNED);
  return TRUE;
}
