// The dialog framework: a modal loop that keeps other windows served, keys for
// the dialog through IsDialogMessage, controls by id, modeless dialogs.
#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "platform/dialog/dialog.h"
#include "platform/ui/message.h"

using namespace orv::win;

namespace {

constexpr int kEdit = 1001, kSecondEdit = 1002;

// A dialog with two edit boxes, OK as the default button and Cancel; OnInit
// runs what the test wants done once the window exists.
class FormDlg : public CDialog {
 public:
  explicit FormDlg(std::function<void(HWND)> onInit) : CDialog(1, nullptr), m_onInit(std::move(onInit)) {}
  BOOL OnInitDialog() override {
    CreateDialogControl(m_hWnd, ControlKind::Static, 1000, "Name:", RECT{10, 10, 60, 30});
    m_edit = CreateDialogControl(m_hWnd, ControlKind::Edit, kEdit, "", RECT{70, 10, 200, 30});
    CreateDialogControl(m_hWnd, ControlKind::Edit, kSecondEdit, "", RECT{70, 40, 200, 60});
    CreateDialogControl(m_hWnd, ControlKind::DefaultButton, IDOK, "OK", RECT{10, 80, 80, 100});
    m_cancel = CreateDialogControl(m_hWnd, ControlKind::Button, IDCANCEL, "Cancel", RECT{90, 80, 160, 100});
    if (m_onInit) m_onInit(m_hWnd);
    return TRUE;
  }
  LRESULT WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_COMMAND && (wParam & 0xFFFF) == IDOK) {
      char text[64];
      GetDlgItemTextA(hwnd, kEdit, text, sizeof text);
      m_text = text;
      GetDlgItemTextA(hwnd, kSecondEdit, text, sizeof text);
      m_second = text;
    }
    return CDialog::WindowProc(hwnd, message, wParam, lParam);
  }
  std::function<void(HWND)> m_onInit;
  HWND m_edit = nullptr, m_cancel = nullptr;
  std::string m_text, m_second;
};

void Key(HWND hwnd, WPARAM key) { PostMessageA(hwnd, WM_KEYDOWN, key, 0); }

TEST(Dialog, TypedKeysFillTheFocusedEditAndEnterEndsWithTheDefaultButton) {
  FormDlg dlg([](HWND h) {
    for (WPARAM k : {WPARAM('A'), WPARAM('B'), VK_BACK, WPARAM('C'), VK_TAB, WPARAM('7'), VK_RETURN}) Key(h, k);
  });
  EXPECT_EQ(dlg.DoModal(), IDOK);
  EXPECT_EQ(dlg.m_text, "ac");
  EXPECT_EQ(dlg.m_second, "7");
  EXPECT_FALSE(IsWindow(dlg.m_edit)) << "the controls outlived their dialog";
  EXPECT_EQ(dlg.GetSafeHwnd(), nullptr);
}

TEST(Dialog, EscapeOrTheCancelButtonCancelsAndMissingIdsAreReported) {
  FormDlg esc([](HWND h) { Key(h, VK_ESCAPE); });
  EXPECT_EQ(esc.DoModal(), IDCANCEL);
  EXPECT_EQ(esc.m_text, "");

  FormDlg click([](HWND h) {
    EXPECT_EQ(GetDlgItem(h, 4242), nullptr);
    EXPECT_EQ(GetDlgCtrlID(GetDlgItem(h, kEdit)), kEdit);
    EXPECT_TRUE(SetDlgItemTextA(h, kEdit, "preset"));
    PostMessageA(GetDlgItem(h, IDCANCEL), BM_CLICK, 0, 0);
  });
  EXPECT_EQ(click.DoModal(), IDCANCEL);
}

// The main window's messages keep being handled while a modal dialog runs, as
// firmware events are during the program's dialogs.
TEST(Dialog, AModalLoopServesTheThreadsOtherWindowsAndLeavesTheQuitToTheOuterLoop) {
  int handled = 0;
  struct Counter : WindowHandler {
    int* count;
    LRESULT WindowProc(HWND h, UINT m, WPARAM w, LPARAM l) override {
      if (m == 0x4040) ++*count;
      return DefWindowProcA(h, m, w, l);
    }
  } counter;
  counter.count = &handled;
  WindowCreate create;
  create.handler = &counter;
  HWND main = CreateWindowHandle(create);
  ASSERT_NE(main, nullptr);
  FormDlg dlg([&](HWND h) {
    std::thread([main, h] {
      for (int i = 0; i < 5; ++i) PostMessageA(main, 0x4040, 0x5F, 0);
      PostMessageA(h, WM_CLOSE, 0, 0);
    }).detach();
  });
  EXPECT_EQ(dlg.DoModal(), IDCANCEL);
  EXPECT_EQ(handled, 5);

  FormDlg quitting([](HWND) { PostQuitMessage(3); });
  quitting.DoModal();
  MSG msg{};
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, WM_QUIT);
  EXPECT_EQ(msg.wParam, 3u);
  DestroyWindow(main);
}

TEST(Dialog, AModelessDialogGoesWhenEnded) {
  FormDlg dlg(nullptr);
  ASSERT_TRUE(dlg.Create(nullptr));
  HWND hwnd = dlg.GetSafeHwnd();
  EXPECT_TRUE(IsWindow(hwnd));
  EXPECT_NE(GetDlgItem(hwnd, kEdit), nullptr);
  dlg.EndDialog(IDOK);
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_EQ(GetDlgItem(hwnd, kEdit), nullptr);
}

}  // namespace
