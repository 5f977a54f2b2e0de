// Low-level keyboard hooks: keys of SendInput reach every hook on its own
// thread, most recent first, until one keeps the key; unhooked procedures hear
// nothing more. And the keyboard-hook library KvKBHook, loaded as the tray
// program loads it: it reports the volume and brightness keys to the program's
// main window with the registered message, and nothing else.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "tests/support/test_window.h"
#include "tests/ui/pump.h"

namespace {

struct Heard {
  char hook;
  WPARAM message;
  KBDLLHOOKSTRUCT key;
};
std::vector<Heard> g_heard;

LRESULT Record(char hook, int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION) g_heard.push_back(Heard{hook, wParam, *reinterpret_cast<KBDLLHOOKSTRUCT*>(lParam)});
  return CallNextHookEx(nullptr, code, wParam, lParam);
}
LRESULT CALLBACK HookA(int code, WPARAM w, LPARAM l) { return Record('A', code, w, l); }
LRESULT CALLBACK HookB(int code, WPARAM w, LPARAM l) { return Record('B', code, w, l); }
LRESULT CALLBACK Keeper(int code, WPARAM w, LPARAM l) {
  Record('K', code, w, l);
  return 1;
}

INPUT Key(WORD scan, DWORD flags) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wScan = scan;
  in.ki.dwFlags = KEYEVENTF_SCANCODE | flags;
  return in;
}

std::string Order() {
  std::string s;
  for (const Heard& h : g_heard) s += std::string(1, h.hook) + (h.message == WM_KEYDOWN ? "v" : "^");
  return s;
}

TEST(KeyboardHooks, KeysReachEveryHookMostRecentFirstUntilOneKeepsThem) {
  EXPECT_EQ(SetWindowsHookExA(2, HookA, nullptr, 0), nullptr);  // WH_KEYBOARD
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HOOK_FILTER));
  EXPECT_EQ(SetWindowsHookExA(WH_KEYBOARD_LL, HookA, nullptr, GetCurrentThreadId()), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));

  g_heard.clear();
  HHOOK a = SetWindowsHookExA(WH_KEYBOARD_LL, HookA, nullptr, 0);
  HHOOK b = SetWindowsHookExA(WH_KEYBOARD_LL, HookB, nullptr, 0);
  ASSERT_TRUE(a && b);
  INPUT press[] = {Key(0x30, KEYEVENTF_EXTENDEDKEY), Key(0x30, KEYEVENTF_EXTENDEDKEY | KEYEVENTF_KEYUP)};
  EXPECT_EQ(SendInput(2, press, sizeof(INPUT)), 2u);
  ASSERT_TRUE(uitest::PumpUntil([] { return g_heard.size() >= 4; }));
  EXPECT_EQ(Order(), "BvAvB^A^");
  EXPECT_EQ(g_heard[0].key.scanCode, 0x30u);
  EXPECT_EQ(g_heard[0].key.flags, static_cast<DWORD>(LLKHF_EXTENDED | LLKHF_INJECTED));
  EXPECT_EQ(g_heard[2].key.flags, static_cast<DWORD>(LLKHF_EXTENDED | LLKHF_INJECTED | LLKHF_UP));

  // A hook that keeps the key: the hooks installed before it hear nothing.
  g_heard.clear();
  HHOOK keeper = SetWindowsHookExA(WH_KEYBOARD_LL, Keeper, nullptr, 0);
  EXPECT_EQ(SendInput(2, press, sizeof(INPUT)), 2u);
  ASSERT_TRUE(uitest::PumpUntil([] { return g_heard.size() >= 2; }));
  EXPECT_EQ(Order(), "KvK^");

  // Unhooked, it hears nothing more; the others hear again.
  g_heard.clear();
  EXPECT_TRUE(UnhookWindowsHookEx(keeper));
  EXPECT_FALSE(UnhookWindowsHookEx(keeper));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HOOK_HANDLE));
  EXPECT_EQ(SendInput(1, press, sizeof(INPUT)), 1u);
  ASSERT_TRUE(uitest::PumpUntil([] { return g_heard.size() >= 2; }));
  EXPECT_EQ(Order(), "BvAv");
  EXPECT_TRUE(UnhookWindowsHookEx(b));
  EXPECT_TRUE(UnhookWindowsHookEx(a));
  EXPECT_EQ(SendInput(1, press, sizeof(INPUT) - 1), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

std::vector<LPARAM> g_reported;
UINT g_hookMessage = 0;

LRESULT CALLBACK MainWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (g_hookMessage && message == g_hookMessage) g_reported.push_back(lParam);
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

TEST(KeyboardHookLibrary, ReportsTheVolumeAndBrightnessKeysToTheProgramsMainWindow) {
  g_hookMessage = RegisterWindowMessageA("KB_HOOK_MESSAGE");
  HWND main = orv::test::CreateTestWindow(MainWindowProc, "Calvex");
  HMODULE library = LoadLibraryA("KvKBHook.dll");
  ASSERT_NE(library, nullptr);
  using HookFn = void (*)(HMODULE, int, const char*);
  auto hook = reinterpret_cast<HookFn>(reinterpret_cast<void (*)()>(GetProcAddress(library, "Hook")));
  auto unhook = reinterpret_cast<void (*)()>(GetProcAddress(library, "UnHook"));
  ASSERT_TRUE(hook && unhook);
  hook(library, 0, "Calvex");

  // Volume down, the C key (the same scan code, not extended), a key-up, brightness down.
  INPUT keys[] = {Key(0x2E, KEYEVENTF_EXTENDEDKEY), Key(0x2E, 0), Key(0x2E, KEYEVENTF_EXTENDEDKEY | KEYEVENTF_KEYUP),
                  Key(0x77, KEYEVENTF_EXTENDEDKEY)};
  g_reported.clear();
  EXPECT_EQ(SendInput(4, keys, sizeof(INPUT)), 4u);
  ASSERT_TRUE(uitest::PumpUntil([] { return g_reported.size() >= 2; }));
  EXPECT_EQ((g_reported[0] >> 16) & 0xFF, 0x2E);
  EXPECT_EQ((g_reported[1] >> 16) & 0xFF, 0x77);

  // Unhooked: a key goes to the hooks that remain (ours, as a marker) and to nobody else.
  unhook();
  g_heard.clear();
  HHOOK marker = SetWindowsHookExA(WH_KEYBOARD_LL, HookA, nullptr, 0);
  EXPECT_EQ(SendInput(1, keys, sizeof(INPUT)), 1u);
  ASSERT_TRUE(uitest::PumpUntil([] { return !g_heard.empty(); }));
  MSG msg{};
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  EXPECT_EQ(g_reported.size(), 2u) << "a key was reported after UnHook";
  UnhookWindowsHookEx(marker);
  EXPECT_TRUE(FreeLibrary(library));
  DestroyWindow(main);
}

}  // namespace
