// The About dialog: versions, the copyright line and the log switch.
#include "tray/ui/KvSysAboutDlg.h"

#include "platform/base/unique_handle.h"
#include "tray/core/CalvexDlg.h"
#include "tray/firmware/PlatformInfo.h"
#include "tray/ui/LanguageTable.h"

namespace {

constexpr int kLogHotKey = 0;

// The installed product version: the machine-wide "Version" value, or "NONE".
std::string ProductVersion() {
  char text[128] = "NONE";
  orv::unique_hkey key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Orv\\Calvex", 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS)
    return text;
  char value[128];
  DWORD size = sizeof value;
  if (RegQueryValueExA(key.get(), "Version", nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size) != ERROR_SUCCESS)
    return text;
  // A value stored without its terminator still reads as its text.
  return std::string(value, size > 0 && value[size - 1] == '\0' ? size - 1 : size);
}

}  // namespace

CKvSysAboutDlg::CKvSysAboutDlg(HWND parent) : CDialog(IDD, parent) {}

CKvSysAboutDlg::~CKvSysAboutDlg() {
  if (g_pMainDlg) g_pMainDlg->m_bAboutOpen = false;
}

BOOL CKvSysAboutDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  m_logging.SubclassDlgItem(IDC_LOGGING, this);
  SetDlgItemTextA(m_hWnd, IDC_VERSION, ProductVersion().c_str());
  SetDlgItemTextA(m_hWnd, IDC_ASL_VERSION, GetAslVersion().c_str());
  std::string file, section;
  ResolveLanguageTable(file, section);
  SetWindowTextA(m_hWnd, ReadLanguageString(section, "IDS_MENUITEM_ABOUT", file).c_str());
  SetDlgItemTextA(m_hWnd, IDOK, ReadLanguageString(section, "IDS_BUTTON_OK", file).c_str());
  if (IsMakerBios()) SetDlgItemTextA(m_hWnd, IDC_COPYRIGHT, kCopyrightHolder);
  RegisterHotKey(m_hWnd, kLogHotKey, MOD_CONTROL | MOD_ALT, 'S');
  ShowLogging();
  return TRUE;
}

void CKvSysAboutDlg::ShowLogging() {
  const bool on = g_pMainDlg && g_pMainDlg->m_bLogEnabled;
  SetWindowTextA(m_logging.m_hWnd, on ? "Logging" : "");
}

void CKvSysAboutDlg::OnOK() {
  if (g_pMainDlg) g_pMainDlg->m_bAboutOpen = false;
  CDialog::OnOK();
}

void CKvSysAboutDlg::OnCancel() {
  if (g_pMainDlg) g_pMainDlg->m_bAboutOpen = false;
  CDialog::OnCancel();
}

LRESULT CKvSysAboutDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_HOTKEY:
      if (g_pMainDlg) g_pMainDlg->ToggleLogFlag();
      ShowLogging();
      return 0;
    case WM_DESTROY: {
      LRESULT result = CDialog::WindowProc(message, wParam, lParam);
      UnregisterHotKey(m_hWnd, kLogHotKey);
      return result;
    }
    default:
      return CDialog::WindowProc(message, wParam, lParam);
  }
}
