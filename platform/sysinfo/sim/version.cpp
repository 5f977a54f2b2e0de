// The operating system's version for this machine, configurable for tests.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

extern "C" BOOL WINAPI GetVersionExA(LPOSVERSIONINFOA info) {
  if (!info) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const DWORD size = info->dwOSVersionInfoSize;
  if (size != sizeof(OSVERSIONINFOA) && size != sizeof(OSVERSIONINFOEXA)) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  unsigned major = 6, minor = 0;
  if (const char* env = std::getenv("ORV_OS_VERSION"); env && *env) {
    char tail = 0;
    if (std::sscanf(env, "%u.%u%c", &major, &minor, &tail) != 2) {
      SetLastError(ERROR_INVALID_DATA);
      return FALSE;
    }
  }
  std::memset(info, 0, size);
  info->dwOSVersionInfoSize = size;
  info->dwMajorVersion = major;
  info->dwMinorVersion = minor;
  info->dwBuildNumber = 6002;
  info->dwPlatformId = VER_PLATFORM_WIN32_NT;
  std::snprintf(info->szCSDVersion, sizeof info->szCSDVersion, "Service Pack 2");
  if (size == sizeof(OSVERSIONINFOEXA)) {
    auto* ex = reinterpret_cast<LPOSVERSIONINFOEXA>(info);
    ex->wServicePackMajor = 2;
    ex->wProductType = VER_NT_WORKSTATION;
  }
  return TRUE;
}
