// The user-define key dialog's help buttons: Browse and Remove explain themselves.
#include "tray/dialogs/KvUDButton.h"

#include "tray/resources/resource.h"
#include "tray/ui/LanguageTable.h"

CKvUDButton::CKvUDButton() {
  ResolveLanguageTable(m_languageFile, m_languageSection);
  m_helpText = ReadLanguageString(m_languageSection, "IDS_USERDEFINE_DOC", m_languageFile);
}

LRESULT CKvUDButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = CButton::WindowProc(message, wParam, lParam);
  if (message != WM_MOUSEMOVE) return result;
  const char* key = nullptr;
  switch (GetDlgCtrlID(m_hWnd)) {
    case IDC_UD_BROWSE: key = "IDS_USERDEFINE_BT_BROWSE_DOC"; break;
    case IDC_UD_REMOVE: key = "IDS_USERDEFINE_BT_REMOVE_DOC"; break;
    default: return result;
  }
  m_helpText = ReadLanguageString(m_languageSection, key, m_languageFile);
  SetDlgItemTextA(GetParent(m_hWnd), IDC_UD_HELP, m_helpText.c_str());
  return result;
}
