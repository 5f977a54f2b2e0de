// The process's table of registered window-message names.
#include <windows.h>

#include <map>
#include <mutex>
#include <string>

#include "platform/ui/sim/internal.h"

namespace {
constexpr UINT kFirstRegistered = 0xC000;
constexpr UINT kLastRegistered = 0xFFFF;
}  // namespace

extern "C" {

UINT WINAPI RegisterWindowMessageA(LPCSTR name) {
  if (!name || !*name) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  static std::mutex mutex;
  static std::map<std::string, UINT> numbers;
  std::lock_guard<std::mutex> lock(mutex);
  std::string key = orv::ui::detail::FoldCase(name);
  auto it = numbers.find(key);
  if (it != numbers.end()) return it->second;
  UINT number = kFirstRegistered + static_cast<UINT>(numbers.size());
  if (number > kLastRegistered) {
    SetLastError(ERROR_NOT_ENOUGH_QUOTA);
    return 0;
  }
  numbers.emplace(key, number);
  return number;
}

BOOL WINAPI ChangeWindowMessageFilter(UINT message, DWORD action) {
  if ((action != MSGFLT_ADD && action != MSGFLT_REMOVE) || message == 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return TRUE;
}

}  // extern "C"
