// The hook's watch of the simulated notebook's volume and brightness keys: a
// hidden window that receives the firmware's key events and posts the registered
// "KB_HOOK_MESSAGE" with the key's scan code to the program's main window.
#pragma once
#include <memory>
#include <string>

#include "library/OrvWmiAcpi.h"
#include "platform/ui/window.h"

namespace kbhook {

// The scan code of a firmware key event (0 for events that are not such keys).
unsigned ScanCodeOf(unsigned eventCode);

class KeyWatch : public orv::win::WindowHandler {
 public:
  // Watches for the thread's window titled programTitle. False when there is
  // nothing to watch with (no hidden window, or no such main window).
  bool Start(const std::string& programTitle);
  ~KeyWatch() override;

  orv::win::LRESULT WindowProc(HWND hwnd, orv::win::UINT message, orv::win::WPARAM wParam,
                               orv::win::LPARAM lParam) override;

 private:
  HWND m_hWnd = nullptr;
  HWND m_hTarget = nullptr;
  orv::win::UINT m_uHookMessage = 0;
  std::unique_ptr<COrvWmiAcpi> m_wmi;  // the subscription posts to m_hWnd
};

}  // namespace kbhook
