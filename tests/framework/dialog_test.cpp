// The framework: CDialog run modally (keys for the dialog through the system's
// dialog keyboard, the thread's other windows kept served, the quit left for
// the outer loop) and modeless; CButton made by its object and bound to it;
// CWnd bound to a dialog's control; CWinApp's run. The dialogs come from the
// test's resource script (tests/resources/controls.rc).
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>
#include <thread>

#include "platform/framework/app.h"
#include "platform/framework/button.h"
#include "platform/framework/dialog.h"
#include "tests/resources/controls.h"
#include "tests/support/test_window.h"

namespace {

// The form: two edit boxes, OK as the default button and Cancel; onInit runs
// what the test wants done once the window exists.
class FormDlg : public CDialog {
 public:
  explicit FormDlg(std::function<void(HWND)> onInit) : CDialog(IDD_FORM), m_onInit(std::move(onInit)) {}
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    if (m_onInit) m_onInit(m_hWnd);
    return TRUE;
  }
  void OnOK() override {
    char text[64];
    GetDlgItemTextA(m_hWnd, IDC_NAME, text, sizeof text);
    m_text = text;
    GetDlgItemTextA(m_hWnd, IDC_SECOND, text, sizeof text);
    m_second = text;
    CDialog::OnOK();
  }
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) m_lastClick = LOWORD(wParam);
    return CDialog::WindowProc(message, wParam, lParam);
  }
  std::function<void(HWND)> m_onInit;
  std::string m_text, m_second;
  int m_lastClick = 0;
};

void Key(HWND hwnd, WPARAM key) { PostMessageA(hwnd, WM_KEYDOWN, key, 0); }

TEST(Dialog, TypedKeysFillTheFocusedEditAndEnterEndsWithTheDefaultButton) {
  HWND edit = nullptr;
  FormDlg dlg([&](HWND h) {
    edit = GetDlgItem(h, IDC_NAME);
    for (WPARAM k : {WPARAM('A'), WPARAM('B'), WPARAM(VK_BACK), WPARAM('C'), WPARAM(VK_TAB), WPARAM('7'),
                     WPARAM(VK_RETURN)})
      Key(h, k);
  });
  EXPECT_EQ(dlg.DoModal(), IDOK);
  EXPECT_EQ(dlg.m_text, "ac");
  EXPECT_EQ(dlg.m_second, "7");
  EXPECT_FALSE(IsWindow(edit)) << "the controls outlived their dialog";
  EXPECT_EQ(dlg.GetSafeHwnd(), nullptr);
}

TEST(Dialog, EscapeOrTheCancelButtonCancels) {
  FormDlg esc([](HWND h) { Key(h, VK_ESCAPE); });
  EXPECT_EQ(esc.DoModal(), IDCANCEL);
  EXPECT_EQ(esc.m_text, "");

  FormDlg click([](HWND h) {
    EXPECT_TRUE(SetDlgItemTextA(h, IDC_NAME, "preset"));
    PostMessageA(GetDlgItem(h, IDCANCEL), BM_CLICK, 0, 0);
  });
  EXPECT_EQ(click.DoModal(), IDCANCEL);
  EXPECT_EQ(click.m_lastClick, IDCANCEL);
  EXPECT_EQ(click.m_text, "") << "Cancel does not run OnOK";
}

int g_handled = 0;
LRESULT CALLBACK CountingProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == 0x4040) ++g_handled;
  return DefWindowProcA(h, m, w, l);
}

// The main window's messages keep being handled while a modal dialog runs, as
// firmware events are during the program's dialogs.
TEST(Dialog, AModalLoopServesTheThreadsOtherWindowsAndLeavesTheQuitToTheOuterLoop) {
  g_handled = 0;
  HWND main = orv::test::CreateTestWindow(CountingProc);
  ASSERT_NE(main, nullptr);
  FormDlg dlg([&](HWND h) {
    std::thread([main, h] {
      for (int i = 0; i < 5; ++i) PostMessageA(main, 0x4040, 0x5F, 0);
      PostMessageA(h, WM_CLOSE, 0, 0);
    }).detach();
  });
  EXPECT_EQ(dlg.DoModal(), IDCANCEL);
  EXPECT_EQ(g_handled, 5);

  FormDlg quitting([](HWND) { PostQuitMessage(3); });
  quitting.DoModal();
  MSG msg{};
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(msg.wParam, 3u);
  DestroyWindow(main);
}

TEST(Dialog, AModelessDialogGoesWhenEndedOrWithItsObject) {
  FormDlg dlg(nullptr);
  ASSERT_TRUE(dlg.Create(IDD_FORM));
  HWND hwnd = dlg.GetSafeHwnd();
  EXPECT_TRUE(IsWindow(hwnd));
  EXPECT_EQ(CWnd::FromHandlePermanent(hwnd), &dlg);
  HWND edit = GetDlgItem(hwnd, IDC_NAME);
  EXPECT_NE(edit, nullptr);
  EXPECT_FALSE(dlg.Create(IDD_FORM)) << "one window per object";
  dlg.EndDialog(IDOK);
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_FALSE(IsWindow(edit));
  EXPECT_EQ(dlg.GetSafeHwnd(), nullptr);

  HWND kept;
  {
    FormDlg scoped(nullptr);
    ASSERT_TRUE(scoped.Create(IDD_EMPTY));
    kept = scoped.GetSafeHwnd();
  }
  EXPECT_FALSE(IsWindow(kept)) << "the window outlived its object";
  FormDlg missing(nullptr);
  EXPECT_FALSE(missing.Create(999));
}

// A CWnd bound to the form's name box that makes every typed letter a capital.
class CapitalsEdit : public CWnd {
 public:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_CHAR && wParam >= 'a' && wParam <= 'z') wParam -= 'a' - 'A';
    return CWnd::WindowProc(message, wParam, lParam);
  }
};

// A button whose object hears its own clicks before passing them on.
class CountingButton : public CButton {
 public:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == BM_CLICK) ++m_clicks;
    return CButton::WindowProc(message, wParam, lParam);
  }
  int m_clicks = 0;
};

// The form with its name box bound to CapitalsEdit and a CountingButton of its
// own; typing goes to the name box, then the button is clicked, which ends it.
class ControlsDlg : public FormDlg {
 public:
  ControlsDlg() : FormDlg(nullptr) {}
  BOOL OnInitDialog() override {
    FormDlg::OnInitDialog();
    EXPECT_TRUE(m_capitals.SubclassDlgItem(IDC_NAME, this));
    EXPECT_FALSE(m_capitals.SubclassDlgItem(IDC_SECOND, this)) << "an object binds one window";
    EXPECT_TRUE(m_button.Create("More", BS_PUSHBUTTON | WS_VISIBLE, RECT{10, 40, 60, 60}, this, 1500));
    RECT button{}, dialog{};
    GetWindowRect(m_button.m_hWnd, &button);
    GetWindowRect(m_hWnd, &dialog);
    EXPECT_EQ(button.left - dialog.left, 10) << "a child is placed in its parent's client area";
    for (WPARAM k : {WPARAM('O'), WPARAM('R'), WPARAM('V')}) Key(m_hWnd, k);
    PostMessageA(m_hWnd, WM_USER, 0, 0);
    return TRUE;
  }
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_USER) {
      m_button.Click();
      return 0;
    }
    LRESULT result = FormDlg::WindowProc(message, wParam, lParam);
    if (message == WM_COMMAND && LOWORD(wParam) == 1500) OnOK();
    return result;
  }
  CapitalsEdit m_capitals;
  CountingButton m_button;
};

TEST(Controls, ObjectsBoundToControlsSeeTheirMessagesFirst) {
  ControlsDlg dlg;
  EXPECT_EQ(dlg.DoModal(), IDOK);
  EXPECT_EQ(dlg.m_text, "ORV");
  EXPECT_EQ(dlg.m_button.m_clicks, 1);
  EXPECT_EQ(dlg.m_lastClick, 1500);
  EXPECT_EQ(dlg.m_button.GetSafeHwnd(), nullptr) << "the button went with its dialog";
  EXPECT_EQ(dlg.m_capitals.GetSafeHwnd(), nullptr);
}

class QuittingApp : public CWinApp {
 public:
  explicit QuittingApp(BOOL run) : m_run(run) {}
  BOOL InitInstance() override {
    if (m_run) PostQuitMessage(5);
    m_nExitCode = 9;
    return m_run;
  }
  BOOL m_run;
};

TEST(Application, RunsItsLoopOnlyWhenInitInstanceAsksAndEndsWithTheExitCode) {
  QuittingApp looping(TRUE);
  EXPECT_EQ(AfxGetApp(), &looping);
  EXPECT_EQ(looping.Run(), 5) << "the quit's code ends a running loop";
  QuittingApp once(FALSE);
  EXPECT_EQ(once.Run(), 9);
  EXPECT_EQ(AfxGetInstanceHandle(), GetModuleHandleA(nullptr));
}

}  // namespace
