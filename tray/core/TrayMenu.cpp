// The tray menu of the main icon, its commands (exit, About, the user-define
// dialog), the log switch of the About dialog, and the icons added again when
// the taskbar starts again.
#include <cstdio>

#include "tray/core/CalvexDlg.h"
#include "tray/core/message_pump.h"
#include "tray/dialogs/KvUserDefineKey.h"
#include "tray/firmware/EcCommands.h"
#include "tray/ui/KvSysAboutDlg.h"
#include "tray/ui/LanguageTable.h"

namespace {

// Owns a popup menu until it goes out of scope.
struct MenuOwner {
  HMENU menu;
  ~MenuOwner() {
    if (menu) DestroyMenu(menu);
  }
};

}  // namespace

LRESULT CCalvexDlg::OnTrayNotify(WPARAM, LPARAM lParam) {
  if (static_cast<UINT>(lParam) != WM_RBUTTONUP) return 1;
  POINT cursor{0, 0};
  GetCursorPos(&cursor);
  SetForegroundWindow(m_hWnd);
  MenuOwner popup{CreatePopupMenu()};
  if (!popup.menu) return 1;
  auto text = [this](const char* key) { return ReadLanguageString(m_strLanguage, key, m_strLanguageFile); };
  if (!m_bUserDefineFixed && m_pUserDefineKey) {
    const std::string program = m_pUserDefineKey->ReadUserDefineValue(USER_DEFINE_SUBKEY, "UserDefineFilePath");
    if (program != "NONE" && !program.empty())
      AppendMenuA(popup.menu, MF_STRING, ID_TRAY_USERDEFINE, text("IDS_MENUITEM_USERDEFINE").c_str());
  }
  AppendMenuA(popup.menu, MF_STRING, ID_TRAY_ABOUT, text("IDS_MENUITEM_ABOUT").c_str());
  AppendMenuA(popup.menu, MF_STRING, ID_TRAY_EXIT, text("IDS_MENUITEM_EXIT").c_str());
  TrackPopupMenu(popup.menu, 0, cursor.x, cursor.y, 0, m_hWnd, nullptr);
  PostMessageA(m_hWnd, WM_NULL, 0, 0);
  return 1;
}

void CCalvexDlg::OnCommand(UINT id) {
  switch (id) {
    case ID_TRAY_EXIT:
      EndDialog(IDCANCEL);
      break;
    case ID_TRAY_ABOUT:
      if (!m_bAboutOpen) {
        m_bAboutOpen = true;
        CKvSysAboutDlg about(m_hWnd);
        about.DoModal();
      }
      break;
    case ID_TRAY_USERDEFINE:
      if (!m_bUserDefineFixed && !m_bUserDefineDlgOpen) {
        m_bUserDefineDlgOpen = true;
        CKvUserDefineKey dialog(m_hWnd);
        dialog.DoModal();
      }
      break;
    default:
      break;
  }
  PumpPendingMessages();
}

int CCalvexDlg::ToggleLogFlag() {
  m_bLogEnabled = !m_bLogEnabled;
  // The switch holds for this run even when the flag cannot be stored.
  if (!StoreLogFlag(m_bLogEnabled))
    std::fprintf(stderr, "Calvex: the log flag could not be stored; logging is %s for this run only\n",
                 m_bLogEnabled ? "on" : "off");
  return 1;
}

void CCalvexDlg::OnTaskbarCreated() {
  m_bMainIconAdded = m_bHddIconAdded = false;
  AddMainTrayIcon();
  if (m_bHddControl) SetHddTrayIcon(GetHddFlag(0) ? 2 : 3);
}
