// The last-error value, one per thread as on Windows.
#include "platform/base/error.h"

namespace orv::win {
namespace {
thread_local DWORD t_lastError = 0;
}

DWORD GetLastError() { return t_lastError; }
void SetLastError(DWORD error) { t_lastError = error; }

}  // namespace orv::win
