// The user-defined key's branch of the firmware event dispatcher: it starts the
// program the user chose, or, when none is chosen, opens the dialog to choose one.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <string>

#include "tray/core/CalvexDlg.h"
#include "tray/dialogs/KvUserDefineKey.h"

namespace {

// The folder of a program path, with its trailing backslash cut; empty when the
// path names no folder. The program starts there, as it would from its own shortcut.
std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : path.substr(0, slash == 2 && path[1] == ':' ? 3 : slash);
}

}  // namespace

void CCalvexDlg::UserDefineEvent() {
  WriteLog(1, "It's UserDfine's WMIevent");
  std::string path, name;
  if (m_pUserDefineKey) {
    path = m_pUserDefineKey->ReadUserDefineValue(USER_DEFINE_SUBKEY, "UserDefineFilePath");
    name = m_pUserDefineKey->ReadUserDefineValue(USER_DEFINE_SUBKEY, "UserDefineFileName");
  }
  if (path != "NONE" && !path.empty()) {
    const std::string folder = FolderOf(path);
    SHELLEXECUTEINFOA info{};
    info.cbSize = sizeof info;
    info.lpVerb = "open";
    info.lpFile = path.c_str();
    info.lpDirectory = folder.empty() ? nullptr : folder.c_str();
    info.nShow = SW_SHOW;
    char text[200];
    if (ShellExecuteExA(&info)) {
      WriteLog(4, "Function of User Define work");
      std::snprintf(text, sizeof text, "Open %s  .............", name.c_str());
    } else {
      // Said as it is: the program the key names could not be started.
      std::snprintf(text, sizeof text, "Open %s failed (error %lu)", name.c_str(),
                    static_cast<unsigned long>(GetLastError()));
    }
    WriteLog(4, text);
    return;
  }
  if (m_bUserDefineDlgOpen) return;
  m_bUserDefineDlgOpen = true;
  CKvUserDefineKey dialog(m_hWnd);
  dialog.DoModal();
  WriteLog(4, "Function of User Define don't work");
  WriteLog(4, "Open Dialog of User Define .............");
}
