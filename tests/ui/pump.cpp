// The test pump: a thread timer keeps GetMessage returning while it waits.
#include "tests/ui/pump.h"

namespace uitest {

bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  UINT_PTR tick = SetTimer(nullptr, 0, 10, nullptr);
  bool met = done();
  MSG msg{};
  while (!met && std::chrono::steady_clock::now() < deadline && GetMessageA(&msg, nullptr, 0, 0)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
    met = done();
  }
  KillTimer(nullptr, tick);
  return met;
}

}  // namespace uitest
