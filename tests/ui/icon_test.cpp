// Icons from the test's resource script: the group's image nearest the size
// asked, shared icons of LoadIcon against owned ones of LoadImage, a window's
// icons, and the notification area drawing an icon from its 16 x 16 image.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <cstring>

#include "platform/desktop/sim/taskbar.h"
#include "platform/gfx/sim/gdi.h"
#include "platform/ui/sim/icon.h"
#include "tests/resources/controls.h"
#include "tests/support/process.h"
#include "tests/support/test_window.h"

namespace {

// The test icon (tests/resources/test.ico): a green disk from row 3 to 12 and
// column 1 to 14 of its 16 x 16 design, transparent around it.
constexpr std::uint32_t kGreen = 0xFF5BD36B;

TEST(Icons, ComeFromTheProgramsIconGroupsAtTheSizeAsked) {
  HINSTANCE program = GetModuleHandleA(nullptr);
  HICON shared = LoadIconA(program, MAKEINTRESOURCEA(IDI_TEST));
  ASSERT_NE(shared, nullptr);
  EXPECT_EQ(LoadIconA(program, MAKEINTRESOURCEA(IDI_TEST)), shared) << "LoadIcon gives the module's one icon";
  orv::ui::IconPixels small, big;
  ASSERT_TRUE(orv::ui::IconImage(shared, 16, &small));
  ASSERT_TRUE(orv::ui::IconImage(shared, 32, &big));
  EXPECT_EQ(small.width, 16);
  EXPECT_EQ(big.width, 32);
  EXPECT_EQ(small.argb[0], 0u) << "the mask leaves the corner transparent";
  EXPECT_EQ(small.argb[5 * 16 + 5], kGreen);
  EXPECT_EQ(big.argb[10 * 32 + 10], kGreen);
  EXPECT_EQ(big.argb[1 * 32 + 1], 0u);

  HICON own = static_cast<HICON>(LoadImageA(program, MAKEINTRESOURCEA(IDI_TEST), IMAGE_ICON, 16, 16, 0));
  ASSERT_NE(own, nullptr);
  EXPECT_NE(own, shared);
  EXPECT_TRUE(DestroyIcon(own));
  EXPECT_FALSE(DestroyIcon(own));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_ICON_HANDLE));
  // A shared icon is not destroyed: it stays usable.
  EXPECT_TRUE(DestroyIcon(shared));
  EXPECT_TRUE(orv::ui::IconImage(shared, 16, &small));

  EXPECT_EQ(LoadIconA(program, MAKEINTRESOURCEA(9999)), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
  EXPECT_EQ(LoadImageA(program, MAKEINTRESOURCEA(IDI_TEST), IMAGE_BITMAP, 0, 0, 0), nullptr);
}

TEST(Icons, AWindowKeepsItsIconsAndTheNotificationAreaDrawsOne) {
  orv::test::TempHome home;
  HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_TEST));
  HWND window = orv::test::CreateTestWindow(DefWindowProcA, "icons");
  EXPECT_EQ(SendMessageA(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon)), 0);
  EXPECT_EQ(SendMessageA(window, WM_GETICON, ICON_BIG, 0), reinterpret_cast<LRESULT>(icon));
  EXPECT_EQ(SendMessageA(window, WM_GETICON, ICON_SMALL, 0), 0);

  NOTIFYICONDATAA nid{};
  nid.cbSize = sizeof nid;
  nid.hWnd = window;
  nid.uID = 3;
  nid.uFlags = NIF_ICON | NIF_TIP;
  nid.hIcon = icon;
  std::strcpy(nid.szTip, "test icon");
  ASSERT_TRUE(Shell_NotifyIconA(NIM_ADD, &nid));
  EXPECT_FALSE(Shell_NotifyIconA(NIM_ADD, &nid)) << "the icon exists already";
  bool found = false;
  for (const auto& shown : orv::desktop::NotifyIcons()) {
    if (shown.owner != window || shown.id != 3) continue;
    found = true;
    EXPECT_EQ(shown.tip, "test icon");
    ASSERT_EQ(shown.icon.width, 16);
    EXPECT_EQ(shown.icon.At(5, 5), kGreen);
    EXPECT_EQ(shown.icon.At(0, 0), 0u);
  }
  EXPECT_TRUE(found);
  EXPECT_TRUE(Shell_NotifyIconA(NIM_DELETE, &nid));
  EXPECT_FALSE(Shell_NotifyIconA(NIM_MODIFY, &nid)) << "the icon is gone";
  DestroyWindow(window);
}

TEST(Icons, AreMadeFromABitmapsPixels) {
  orv::gfx::Surface pixels(4, 4, 0);
  pixels.At(1, 2) = 0x80402010;
  HBITMAP colour = orv::gfx::CreateBitmapFromSurface(pixels);
  ICONINFO info{TRUE, 0, 0, nullptr, colour};
  HICON icon = CreateIconIndirect(&info);
  ASSERT_NE(icon, nullptr);
  EXPECT_TRUE(DeleteObject(colour)) << "the icon keeps no hold on the bitmap";
  orv::ui::IconPixels image;
  ASSERT_TRUE(orv::ui::IconImage(icon, 4, &image));
  EXPECT_EQ(image.argb[2 * 4 + 1], 0x80402010u);
  EXPECT_EQ(image.argb[0], 0u);
  EXPECT_TRUE(DestroyIcon(icon));
  info.fIcon = FALSE;  // a cursor
  EXPECT_EQ(CreateIconIndirect(&info), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

}  // namespace
