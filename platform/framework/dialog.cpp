// CDialog over CreateDialogParamA and DialogBoxParamA.
#include "platform/framework/dialog.h"

#include "platform/framework/app.h"

CDialog::CDialog(UINT nIDTemplate, HWND hParent) : m_nIDTemplate(nIDTemplate), m_hParent(hParent) {}

CDialog::~CDialog() {
  // A modeless window goes with its object, while the object is still a CDialog.
  HWND hwnd = UnsubclassWindow();
  if (hwnd && IsWindow(hwnd)) DestroyWindow(hwnd);
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_INITDIALOG) return FALSE;  // a bound dialog's messages reach WindowProc first
  auto* self = reinterpret_cast<CDialog*>(lParam);
  if (!self || !self->SubclassWindow(hWnd)) return TRUE;
  return static_cast<INT_PTR>(self->WindowProc(message, wParam, lParam));
}

INT_PTR CDialog::DoModal() {
  m_bModal = true;
  INT_PTR result = DialogBoxParamA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(m_nIDTemplate), m_hParent,
                                   &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
  m_bModal = false;
  UnsubclassWindow();
  return result;
}

BOOL CDialog::Create(UINT nIDTemplate, HWND hParent) {
  if (m_hWnd) return FALSE;
  m_nIDTemplate = nIDTemplate;
  m_hParent = hParent;
  m_bModal = false;
  HWND hwnd = CreateDialogParamA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(nIDTemplate), hParent,
                                 &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
  return hwnd != nullptr;
}

BOOL CDialog::OnInitDialog() {
  UpdateData(FALSE);
  return TRUE;
}

void CDialog::EndDialog(int nResult) {
  if (!m_hWnd) return;
  if (m_bModal) ::EndDialog(m_hWnd, nResult);
  else DestroyWindow(m_hWnd);
}

LRESULT CDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      return OnInitDialog();
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) {
        OnOK();
        return 0;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        OnCancel();
        return 0;
      }
      break;
    default:
      break;
  }
  return CWnd::WindowProc(message, wParam, lParam);
}
