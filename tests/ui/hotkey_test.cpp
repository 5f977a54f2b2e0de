// Hot keys: one window per combination, one registration per window and id,
// and the registration gone with its window.
#include <gtest/gtest.h>

#include <windows.h>

#include "platform/ui/sim/look.h"
#include "tests/support/test_window.h"

namespace {

LRESULT CALLBACK Plain(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

TEST(HotKey, ACombinationBelongsToOneWindowUntilItsWindowLetsItGo) {
  HWND a = orv::test::CreateTestWindow(Plain);
  HWND b = orv::test::CreateTestWindow(Plain);
  ASSERT_TRUE(RegisterHotKey(a, 0, MOD_CONTROL | MOD_ALT, 'S'));
  EXPECT_FALSE(RegisterHotKey(b, 0, MOD_CONTROL | MOD_ALT, 'S'));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_HOTKEY_ALREADY_REGISTERED));
  EXPECT_FALSE(RegisterHotKey(a, 0, MOD_CONTROL, 'T')) << "the window's id 0 is taken";
  HWND owner = nullptr;
  int id = -1;
  ASSERT_TRUE(orv::ui::FindHotKey(MOD_CONTROL | MOD_ALT, 'S', &owner, &id));
  EXPECT_EQ(owner, a);
  EXPECT_EQ(id, 0);
  EXPECT_FALSE(orv::ui::FindHotKey(MOD_CONTROL, 'S', &owner, &id)) << "the modifiers must match";

  EXPECT_TRUE(UnregisterHotKey(a, 0));
  EXPECT_FALSE(UnregisterHotKey(a, 0));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_HOTKEY_NOT_REGISTERED));
  EXPECT_TRUE(RegisterHotKey(b, 0, MOD_CONTROL | MOD_ALT, 'S'));
  DestroyWindow(b);
  EXPECT_FALSE(orv::ui::FindHotKey(MOD_CONTROL | MOD_ALT, 'S', &owner, &id)) << "a gone window keeps no hot key";
  EXPECT_TRUE(RegisterHotKey(a, 1, MOD_CONTROL | MOD_ALT, 'S'));
  UnregisterHotKey(a, 1);
  DestroyWindow(a);
}

}  // namespace
