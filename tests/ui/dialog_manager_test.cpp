// Dialogs from the templates of the test's resource script (tests/resources/
// controls.rc), through the dialog calls with a plain dialog procedure: the
// window and controls a template makes and where, WM_INITDIALOG with its
// parameter and focus, the modal loop with its owner, EndDialog, the dialog
// keyboard, and a template that is not there.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "tests/resources/controls.h"
#include "tests/support/test_window.h"

namespace {

struct Seen {
  LPARAM initParam = 0;
  HWND initFocus = nullptr;
  std::vector<WPARAM> commands;
  bool endInInit = false;
  std::vector<WPARAM> keys;  // posted to the dialog after WM_INITDIALOG
  bool ownerEnabledMeanwhile = true;  // as the modal loop ran
  HWND owner = nullptr;
};
Seen g_seen;

INT_PTR CALLBACK FormProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    g_seen.initParam = lParam;
    g_seen.initFocus = reinterpret_cast<HWND>(wParam);
    if (g_seen.endInInit) EndDialog(hwnd, 42);
    for (WPARAM key : g_seen.keys) PostMessageA(hwnd, WM_KEYDOWN, key, 0);
    return TRUE;  // the system sets the focus
  }
  if (message == WM_COMMAND) {
    g_seen.commands.push_back(wParam);
    if (g_seen.owner) g_seen.ownerEnabledMeanwhile = IsWindowEnabled(g_seen.owner) != FALSE;
    if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) EndDialog(hwnd, LOWORD(wParam));
    return TRUE;
  }
  return FALSE;
}

HINSTANCE Program() { return GetModuleHandleA(nullptr); }

TEST(DialogManager, ATemplateMakesItsWindowAndControlsInDialogUnits) {
  g_seen = Seen{};
  HWND dlg = CreateDialogParamA(Program(), MAKEINTRESOURCEA(IDD_FORM), nullptr, FormProc, 1234);
  ASSERT_NE(dlg, nullptr);
  EXPECT_EQ(g_seen.initParam, 1234);
  char cls[16] = {};
  GetClassNameA(dlg, cls, sizeof cls);
  EXPECT_STREQ(cls, "#32770");
  char title[16] = {};
  GetWindowTextA(dlg, title, sizeof title);
  EXPECT_STREQ(title, "Form");
  // 200 x 80 dialog units of an 8-point font, and the caption: 300 x (130 + 23) pixels.
  RECT r{};
  GetWindowRect(dlg, &r);
  EXPECT_EQ(r.right - r.left, 300);
  EXPECT_EQ(r.bottom - r.top, 130 + 23);
  EXPECT_FALSE(IsWindowVisible(dlg)) << "the template has no WS_VISIBLE";
  // The name box at 40, 7 (60, 11 pixels into the client area), 150 x 14 units.
  HWND name = GetDlgItem(dlg, IDC_NAME);
  ASSERT_NE(name, nullptr);
  GetClassNameA(name, cls, sizeof cls);
  EXPECT_STREQ(cls, "EDIT");
  RECT n{};
  GetWindowRect(name, &n);
  EXPECT_EQ(n.left - r.left, 60);
  EXPECT_EQ(n.top - r.top, 23 + 11);
  EXPECT_EQ(n.right - n.left, 225);
  EXPECT_EQ(n.bottom - n.top, 23);
  RECT units{40, 7, 190, 21};
  ASSERT_TRUE(MapDialogRect(dlg, &units));
  EXPECT_EQ(units.left, 60);
  EXPECT_EQ(units.right - units.left, 225);
  char label[16] = {};
  EXPECT_EQ(GetDlgItemTextA(dlg, IDC_NAME_LABEL, label, sizeof label), 5u);
  EXPECT_STREQ(label, "Name:");
  // The first control that takes Tab has the focus; OK is the default button.
  EXPECT_EQ(g_seen.initFocus, name);
  EXPECT_EQ(GetFocus(), name);
  EXPECT_EQ(SendMessageA(dlg, DM_GETDEFID, 0, 0), MAKELRESULT(IDOK, DC_HASDEFID));
  EXPECT_EQ(GetDlgItem(dlg, 4242), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CONTROL_ID_NOT_FOUND));
  ASSERT_TRUE(DestroyWindow(dlg));
  EXPECT_FALSE(IsWindow(name)) << "the controls outlived their dialog";

  // An empty popup template: 186 x 94 units, no caption.
  HWND empty = CreateDialogParamA(Program(), MAKEINTRESOURCEA(IDD_EMPTY), nullptr, FormProc, 0);
  ASSERT_NE(empty, nullptr);
  GetWindowRect(empty, &r);
  EXPECT_EQ(r.right - r.left, 279);
  EXPECT_EQ(r.bottom - r.top, 153);
  DestroyWindow(empty);
}

TEST(DialogManager, TheModalLoopTypesIntoTheFocusAndEndsWithTheDefaultButton) {
  g_seen = Seen{};
  g_seen.keys = {'A', 'B', VK_BACK, 'C', VK_TAB, '7', VK_RETURN};
  HWND owner = orv::test::CreateTestWindow(DefWindowProcA, "owner");
  g_seen.owner = owner;
  EXPECT_EQ(DialogBoxParamA(Program(), MAKEINTRESOURCEA(IDD_FORM), owner, FormProc, 0), IDOK);
  EXPECT_FALSE(g_seen.ownerEnabledMeanwhile) << "the owner was not disabled while the dialog ran";
  EXPECT_TRUE(IsWindowEnabled(owner));
  ASSERT_EQ(g_seen.commands.size(), 1u);
  EXPECT_EQ(g_seen.commands[0], MAKEWPARAM(IDOK, BN_CLICKED));
  DestroyWindow(owner);
}

TEST(DialogManager, EscapeCloseAndEndDialogInInitEndTheLoopAndAMissingTemplateFails) {
  g_seen = Seen{};
  g_seen.keys = {VK_ESCAPE};
  EXPECT_EQ(DialogBoxParamA(Program(), MAKEINTRESOURCEA(IDD_FORM), nullptr, FormProc, 0), IDCANCEL);

  // WM_CLOSE becomes the Cancel button's command.
  g_seen = Seen{};
  HWND dlg = CreateDialogParamA(Program(), MAKEINTRESOURCEA(IDD_FORM), nullptr, FormProc, 0);
  SendMessageA(dlg, WM_CLOSE, 0, 0);
  MSG msg{};
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
    if (!IsDialogMessageA(dlg, &msg)) DispatchMessageA(&msg);
  ASSERT_EQ(g_seen.commands.size(), 1u);
  EXPECT_EQ(g_seen.commands[0], MAKEWPARAM(IDCANCEL, BN_CLICKED));
  EXPECT_FALSE(IsWindowVisible(dlg)) << "EndDialog hides a modeless dialog";
  DestroyWindow(dlg);

  g_seen = Seen{};
  g_seen.endInInit = true;
  EXPECT_EQ(DialogBoxParamA(Program(), MAKEINTRESOURCEA(IDD_FORM), nullptr, FormProc, 0), 42);

  EXPECT_EQ(DialogBoxParamA(Program(), MAKEINTRESOURCEA(999), nullptr, FormProc, 0), -1);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
  EXPECT_EQ(CreateDialogParamA(Program(), MAKEINTRESOURCEA(999), nullptr, FormProc, 0), nullptr);
}

}  // namespace
