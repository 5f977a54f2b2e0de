// The power-state request, which the shutdown privilege guards. The simulated
// notebook cannot sleep, so the request is recorded in the state folder.
#include <windows.h>

#include <cstdio>
#include <ctime>

#include "platform/home/sim/home.h"
#include "platform/security/sim/privileges.h"

extern "C" BOOL WINAPI SetSystemPowerState(BOOL fSuspend, BOOL fForce) {
  if (!orv::security::ShutdownPrivilegeEnabled()) {
    SetLastError(ERROR_PRIVILEGE_NOT_HELD);
    return FALSE;
  }
  std::FILE* log = std::fopen(orv::home::Path("power.log").c_str(), "a");
  if (!log) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  std::fprintf(log, "%lld %s%s\n", static_cast<long long>(std::time(nullptr)), fSuspend ? "suspend" : "hibernate",
               fForce ? " forced" : "");
  const bool written = std::fclose(log) == 0;
  if (!written) SetLastError(ERROR_WRITE_FAULT);
  return written ? TRUE : FALSE;
}
