// CDialog's modal loop and default handling, IsDialogMessage (Esc, Enter, Tab and
// typed characters for the dialog's edit boxes), and CWinApp.
#include "platform/dialog/dialog.h"

#include "platform/dialog/controls.h"
#include "platform/ui/message.h"

using namespace orv::win;

namespace {
CWinApp* g_app = nullptr;
}  // namespace

BOOL orv::win::IsDialogMessageA(HWND dialog, MSG* msg) {
  if (!dialog || !msg || !IsWindow(dialog)) return FALSE;
  if (msg->hwnd != dialog && GetParent(msg->hwnd) != dialog) return FALSE;
  if (msg->message == WM_KEYDOWN) {
    switch (msg->wParam) {
      case VK_ESCAPE:
        SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        return TRUE;
      case VK_RETURN: {
        HWND button = GetDefaultButton(dialog);
        WPARAM id = button ? static_cast<WPARAM>(GetDlgCtrlID(button)) : IDOK;
        SendMessageA(dialog, WM_COMMAND, id, reinterpret_cast<LPARAM>(button));
        return TRUE;
      }
      case VK_TAB:
        SetDialogFocus(dialog, NextEditControl(dialog, GetDialogFocus(dialog)));
        return TRUE;
      default: {
        // The key's character goes to the focus at once, ahead of keys queued after it.
        MSG typed{};
        if (TranslateMessage(msg) && PeekMessageA(&typed, msg->hwnd, WM_CHAR, WM_CHAR, PM_REMOVE))
          IsDialogMessageA(dialog, &typed);
        return TRUE;
      }
    }
  }
  if (msg->message == WM_CHAR) {
    if (HWND focus = GetDialogFocus(dialog)) {
      MSG forwarded = *msg;
      forwarded.hwnd = focus;
      DispatchMessageA(&forwarded);
    }
    return TRUE;
  }
  DispatchMessageA(msg);
  return TRUE;
}

CDialog::CDialog(int templateId, HWND parent, RECT rect)
    : m_templateId(templateId), m_hParent(parent), m_rect(rect) {}

CDialog::~CDialog() {
  if (m_hWnd && IsWindow(m_hWnd)) DestroyWindow(m_hWnd);
}

bool CDialog::MakeWindow(HWND parent) {
  WindowCreate c;
  c.handler = this;
  c.style = WS_POPUP;
  c.rect = m_rect;
  c.parent = parent;
  m_hWnd = CreateWindowHandle(c);
  return m_hWnd != nullptr;
}

LRESULT CDialog::DoModal() {
  if (!MakeWindow(m_hParent)) return -1;
  m_bModal = true;
  m_bEnded = false;
  SendMessageA(m_hWnd, WM_INITDIALOG, 0, 0);
  ShowWindow(m_hWnd, SW_SHOW);
  MSG msg{};
  while (!m_bEnded) {
    if (!GetMessageA(&msg, nullptr, 0, 0)) {
      PostQuitMessage(static_cast<int>(msg.wParam));  // the quit belongs to the outer loop
      break;
    }
    if (IsDialogMessageA(m_hWnd, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  if (m_hWnd && IsWindow(m_hWnd)) DestroyWindow(m_hWnd);
  m_hWnd = nullptr;
  m_bModal = false;
  return m_nResult;
}

BOOL CDialog::Create(HWND parent) {
  if (!MakeWindow(parent)) return FALSE;
  SendMessageA(m_hWnd, WM_INITDIALOG, 0, 0);
  return TRUE;
}

void CDialog::EndDialog(int result) {
  m_nResult = result;
  m_bEnded = true;
  // A modeless dialog ends by going away; a modal one when its loop sees the flag.
  if (!m_bModal && m_hWnd) {
    DestroyWindow(m_hWnd);
    m_hWnd = nullptr;
  } else if (m_hWnd) {
    PostMessageA(m_hWnd, WM_NULL, 0, 0);  // wakes the modal loop
  }
}

LRESULT CDialog::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      return OnInitDialog();
    case WM_CLOSE:
      EndDialog(IDCANCEL);
      return 0;
    case WM_NCDESTROY:
      DestroyDialogControls(hwnd);
      return 0;
    case WM_COMMAND:
      if ((wParam & 0xFFFF) == IDOK || (wParam & 0xFFFF) == IDCANCEL) {
        EndDialog(static_cast<int>(wParam & 0xFFFF));
        return 0;
      }
      break;
    default:
      break;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

CWinApp::CWinApp() { g_app = this; }
CWinApp::~CWinApp() {
  if (g_app == this) g_app = nullptr;
}

int CWinApp::Run() {
  InitInstance();
  return m_nExitCode;
}

CWinApp* AfxGetApp() { return g_app; }
