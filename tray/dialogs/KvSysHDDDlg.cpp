// The HDD dialog: its picture and shape by the user's language, the two
// picture buttons and the exchange with the main window before it closes.
#include "tray/dialogs/KvSysHDDDlg.h"

#include "platform/framework/app.h"
#include "tray/core/CalvexDlg.h"
#include "tray/dialogs/RegionFromBitmap.h"
#include "tray/firmware/EcCommands.h"

HWND g_hHddDlg = nullptr;

namespace {

constexpr LANGID kTraditionalChinese = 1028;

void ClearOpenFlag() {
  if (g_pMainDlg) g_pMainDlg->m_bHddDlgOpen = false;
}

}  // namespace

CKvSysHDDDlg::CKvSysHDDDlg(HWND parent) : CDialog(IDD, parent) {}

void CKvSysHDDDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_HDD_YES, m_btnYes);
  DDX_Control(pDX, IDC_HDD_NO, m_btnNo);
}

BOOL CKvSysHDDDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  g_hHddDlg = m_hWnd;
  SetWindowTextA(m_hWnd, "HDD On/Off Message");
  const bool chinese = GetUserDefaultUILanguage() == kTraditionalChinese;
  m_btnYes.LoadPngResource(chinese ? IDR_PNG_HDD_YES_TW : IDR_PNG_HDD_YES_EN, "PNG");
  m_btnNo.LoadPngResource(chinese ? IDR_PNG_HDD_NO_TW : IDR_PNG_HDD_NO_EN, "PNG");
  SetBackgroundBitmap(chinese ? IDB_HDD_TW : IDB_HDD_EN);
  const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
  RECT client;
  ::GetClientRect(m_hWnd, &client);
  SetWindowPos(m_hWnd, HWND_TOPMOST, (sw - client.right) / 2, (sh - client.bottom) / 2, 0, 0,
               SWP_SHOWWINDOW | SWP_NOSIZE);
  SetForegroundWindow(m_hWnd);
  return TRUE;
}

void CKvSysHDDDlg::SetBackgroundBitmap(UINT nIDResource) {
  HBITMAP bitmap = LoadBitmapA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(nIDResource));
  if (!bitmap) return;
  orv::unique_hrgn shape(RegionFromBitmap(bitmap, kHddKeyColour, &m_bgWidth, &m_bgHeight));
  SetWindowPos(m_hWnd, nullptr, 0, 0, m_bgWidth, m_bgHeight, SWP_NOMOVE | SWP_NOZORDER);
  CClientDC windowDC(this);
  m_bgDC.Create(&windowDC, bitmap);
  // From here on the window owns the region.
  if (shape && SetWindowRgn(m_hWnd, shape.get(), TRUE)) shape.release();
}

void CKvSysHDDDlg::OnYes() {
  SetHddPower(0);
  // The open flag stays set until the window is gone: a second dialog opened
  // in the half second before this one closes would take its close message.
  EnableWindow(GetDlgItem(m_hWnd, IDC_HDD_YES), FALSE);
  EnableWindow(GetDlgItem(m_hWnd, IDC_HDD_NO), FALSE);
  if (g_pMainDlg) PostMessageA(g_pMainDlg->m_hWnd, WM_HDD_DIALOG_DONE, 1, 0);
}

void CKvSysHDDDlg::OnNo() {
  SetHddPower(1);
  EnableWindow(GetDlgItem(m_hWnd, IDC_HDD_YES), FALSE);
  EnableWindow(GetDlgItem(m_hWnd, IDC_HDD_NO), FALSE);
  PostMessageA(m_hWnd, WM_CLOSE, 0, 0);
}

LRESULT CKvSysHDDDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == IDC_HDD_YES) {
        OnYes();
        return 0;
      }
      if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == IDC_HDD_NO) {
        OnNo();
        return 0;
      }
      break;
    case WM_ERASEBKGND:
      CDialog::WindowProc(message, wParam, lParam);
      BitBlt(reinterpret_cast<HDC>(wParam), 0, 0, m_bgWidth, m_bgHeight, m_bgDC.m_hDC, 0, 0, SRCCOPY);
      return TRUE;
    case WM_DESTROY: {
      LRESULT result = CDialog::WindowProc(message, wParam, lParam);
      ClearOpenFlag();
      if (g_hHddDlg == m_hWnd) g_hHddDlg = nullptr;
      return result;
    }
    case WM_HDD_DIALOG_CLOSE:
      if (wParam == 1) {
        Sleep(500);
        PostMessageA(m_hWnd, WM_CLOSE, 0, 0);
      }
      return 1;
    default:
      break;
  }
  return CDialog::WindowProc(message, wParam, lParam);
}
