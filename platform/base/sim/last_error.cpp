// The last-error value, one per thread as on Windows.
#include <windows.h>

namespace {
thread_local DWORD t_lastError = 0;
}

extern "C" DWORD WINAPI GetLastError(void) { return t_lastError; }
extern "C" void WINAPI SetLastError(DWORD error) { t_lastError = error; }
