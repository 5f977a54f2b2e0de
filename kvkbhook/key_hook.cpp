// The hook procedure, the main window it reports to, and installing it.
#include "kvkbhook/key_hook.h"

#include <cstring>

namespace kbhook {
namespace {

HHOOK g_hook = nullptr;
HWND g_target = nullptr;
UINT g_message = 0;

struct Search {
  const char* title;
  HWND found;
};

BOOL CALLBACK FindProgramWindow(HWND hwnd, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  DWORD process = 0;
  GetWindowThreadProcessId(hwnd, &process);
  char text[256] = {};
  GetWindowTextA(hwnd, text, sizeof text);
  if (process != GetCurrentProcessId() || std::strcmp(text, search->title) != 0) return TRUE;
  search->found = hwnd;
  return FALSE;
}

LRESULT CALLBACK KeyboardProc(int nCode, WPARAM wParam, LPARAM lParam) {
  if (nCode == HC_ACTION && (wParam == WM_KEYDOWN || wParam == WM_SYSKEYDOWN)) {
    const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
    if (IsReportedKey(*key))
      PostMessageA(g_target, g_message, 0, static_cast<LPARAM>((key->scanCode << 16) | (1u << 24) | 1u));
  }
  return CallNextHookEx(g_hook, nCode, wParam, lParam);
}

}  // namespace

bool IsReportedKey(const KBDLLHOOKSTRUCT& key) {
  if (!(key.flags & LLKHF_EXTENDED)) return false;  // 0x2E unextended is the C key
  switch (key.scanCode) {
    case 0x20: case 0x2E: case 0x30: case 0x77: case 0x78:
      return true;
    default:
      return false;
  }
}

bool Install(HMODULE module, const char* programTitle) {
  if (g_hook || !programTitle) return false;
  Search search{programTitle, nullptr};
  EnumWindows(FindProgramWindow, reinterpret_cast<LPARAM>(&search));
  if (!search.found) return false;
  g_target = search.found;
  g_message = RegisterWindowMessageA("KB_HOOK_MESSAGE");
  g_hook = SetWindowsHookExA(WH_KEYBOARD_LL, KeyboardProc, module, 0);
  return g_hook != nullptr;
}

void Remove() {
  if (g_hook) UnhookWindowsHookEx(g_hook);
  g_hook = nullptr;
  g_target = nullptr;
}

}  // namespace kbhook
