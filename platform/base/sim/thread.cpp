// Thread and process ids from the kernel's own numbering (unique while they run).
#include <windows.h>

#include <sys/syscall.h>
#include <unistd.h>

extern "C" DWORD WINAPI GetCurrentThreadId(void) {
  static thread_local DWORD id = static_cast<DWORD>(syscall(SYS_gettid));
  return id;
}

extern "C" DWORD WINAPI GetCurrentProcessId(void) { return static_cast<DWORD>(getpid()); }
