// Finding the main window, the firmware subscription and the scan codes.
#include "kvkbhook/key_watch.h"

#include <cstring>

#include "platform/ui/message.h"
#include "platform/ui/registered.h"

using namespace orv::win;

namespace kbhook {
namespace {

constexpr UINT kFirmwareEvent = 0x4040;  // what the library's sink posts

struct Search {
  const char* title;
  HWND found;
};

BOOL FindByTitle(HWND hwnd, LPARAM param) {
  auto* s = reinterpret_cast<Search*>(param);
  char text[256];
  GetWindowTextA(hwnd, text, sizeof text);
  if (std::strcmp(text, s->title) != 0) return TRUE;
  s->found = hwnd;
  return FALSE;
}

}  // namespace

unsigned ScanCodeOf(unsigned eventCode) {
  switch (eventCode) {
    case 0x23: return 0x2E;  // volume down
    case 0x32: return 0x30;  // volume up
    case 0x21: return 0x20;  // mute
    case 0x62: return 0x77;  // brightness down
    case 0x63: return 0x78;  // brightness up
    default: return 0;
  }
}

bool KeyWatch::Start(const std::string& programTitle) {
  Search search{programTitle.c_str(), nullptr};
  EnumWindows(FindByTitle, reinterpret_cast<LPARAM>(&search));
  m_hTarget = search.found;
  if (!m_hTarget) return false;
  m_uHookMessage = RegisterWindowMessageA("KB_HOOK_MESSAGE");
  WindowCreate create;
  create.handler = this;
  create.style = WS_POPUP;
  create.title = "KvKBHook";
  m_hWnd = CreateWindowHandle(create);
  if (!m_hWnd) return false;
  m_wmi = std::make_unique<COrvWmiAcpi>();
  m_wmi->AddHWND(m_hWnd);
  char error[260] = {};
  return m_wmi->OrvWMIEvent(u"Select * from Orv_Event", error, u"root\\wmi", u"WQL");
}

KeyWatch::~KeyWatch() {
  // The window goes first: events still on their way find no window and are dropped.
  if (m_hWnd && IsWindow(m_hWnd)) DestroyWindow(m_hWnd);
  m_wmi.reset();
}

LRESULT KeyWatch::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kFirmwareEvent) {
    if (unsigned scan = ScanCodeOf(static_cast<unsigned>(wParam & 0xFF)))
      PostMessageA(m_hTarget, m_uHookMessage, 0, static_cast<LPARAM>((scan << 16) | 1));
    return 0;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace kbhook
