// The overheat dialog's kinds, texts and countdowns.
#include "tray/dialogs/KvSysOPDlg.h"

#include <cstdio>

#include "tray/core/CalvexDlg.h"
#include "tray/firmware/EcCommands.h"

HWND g_hOverheatDlg = nullptr;

namespace {

constexpr char kTitle[] = "Overheat Protection";
constexpr char kStage1Message[] = "Please plug AC adaptor soon!! \r\nThis windows will colse by itself within 10 seconds.";
constexpr char kStage2Message[] = "Please plug AC adaptor within 10 seconds. \r\nOr, system will into Hibernation mode.";
constexpr char kS3Message[] = "System will into Sleep mode.";
constexpr char kStartCount[] = "10 Seconds.";
constexpr UINT kTickMs = 1000;

}  // namespace

CKvSysOPDlg::CKvSysOPDlg(HWND parent) : CDialog(IDD, parent) {}

CKvSysOPDlg::~CKvSysOPDlg() = default;

INT_PTR CKvSysOPDlg::DoModalKind(int kind) {
  m_kind = kind;
  return DoModal();
}

BOOL CKvSysOPDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  SetDlgItemTextA(m_hWnd, IDC_OP_TITLE, kTitle);
  m_hOuterDlg = g_hOverheatDlg;
  g_hOverheatDlg = m_hWnd;
  switch (m_kind) {
    case kS4Stage1:
      SetDlgItemTextA(m_hWnd, IDC_OP_MESSAGE, kStage1Message);
      SetDlgItemTextA(m_hWnd, IDC_OP_COUNTDOWN, kStartCount);
      m_stage1Timer = SetTimer(m_hWnd, kStage1TimerId, kTickMs, nullptr);
      break;
    case kS4Stage2:
      SetDlgItemTextA(m_hWnd, IDC_OP_MESSAGE, kStage2Message);
      SetDlgItemTextA(m_hWnd, IDC_OP_COUNTDOWN, kStartCount);
      m_stage2Timer = SetTimer(m_hWnd, kStage2TimerId, kTickMs, nullptr);
      break;
    case kS3:
      SetDlgItemTextA(m_hWnd, IDC_OP_MESSAGE, kS3Message);
      if (g_pMainDlg) g_pMainDlg->m_bS3Open = false;
      break;
    default:
      break;
  }
  return TRUE;
}

void CKvSysOPDlg::ShowSeconds(int seconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%d Seconds.", seconds);
  SetDlgItemTextA(m_hWnd, IDC_OP_COUNTDOWN, text);
}

void CKvSysOPDlg::ClearOpenFlag() {
  if (!g_pMainDlg) return;
  if (m_kind == kS4Stage1) g_pMainDlg->m_bS4Stage1Open = false;
  if (m_kind == kS4Stage2) g_pMainDlg->m_bS4Stage2Open = false;
}

void CKvSysOPDlg::Tick(int* left, UINT_PTR timerId, UINT_PTR* timer, bool hibernate) {
  *left -= 1;
  if (*left > 0) {
    ShowSeconds(*left);
    SetTimer(m_hWnd, timerId, kTickMs, nullptr);
    return;
  }
  ShowSeconds(0);
  ClearOpenFlag();
  KillTimer(m_hWnd, timerId);
  *timer = 0;
  if (hibernate) HibernateNow();
  SendMessageA(m_hWnd, WM_CLOSE, 0, 0);
}

LRESULT CKvSysOPDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_TIMER:
      if (m_stage2Timer && wParam == m_stage2Timer)
        Tick(&m_stage2Left, kStage2TimerId, &m_stage2Timer, true);
      else if (m_stage1Timer && wParam == m_stage1Timer)
        Tick(&m_stage1Left, kStage1TimerId, &m_stage1Timer, false);
      break;
    case WM_OVERHEAT_AC_RESTORED:
      if (wParam == 1 || wParam == 2) {
        KillTimer(m_hWnd, wParam == 1 ? kStage1TimerId : kStage2TimerId);
        (wParam == 1 ? m_stage1Timer : m_stage2Timer) = 0;
        SendMessageA(m_hWnd, WM_CLOSE, 0, 0);
      }
      return 1;
    case WM_DESTROY:
      ClearOpenFlag();
      // An outer overheat dialog still open is the one AC power must reach now.
      if (g_hOverheatDlg == m_hWnd) g_hOverheatDlg = m_hOuterDlg;
      break;
    default:
      break;
  }
  return CDialog::WindowProc(message, wParam, lParam);
}
