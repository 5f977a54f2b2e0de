// CKvUserDefineKey: the dialog where the user chooses the program that the
// notebook's user-defined key starts (Browse, Remove, OK, Cancel), with a help
// line that follows the mouse over its two CKvUDButton buttons. The main window
// also keeps one object, never shown, for the two registry operations.
#pragma once
#include <windows.h>

#include <string>

#include "platform/base/unique_handle.h"
#include "platform/framework/dialog.h"
#include "tray/dialogs/KvUDButton.h"
#include "tray/resources/resource.h"

// The settings key below HKEY_CURRENT_USER whose subkeys these operations use.
constexpr const char* USER_DEFINE_ROOT = "Software\\Orv\\Calvex";
constexpr const char* USER_DEFINE_SUBKEY = "User Define Key";
// The longest text the readers of the user-define values accept (a 128-byte buffer).
constexpr std::size_t kUserDefineMaxText = 127;

class CKvUserDefineKey : public CDialog {
 public:
  static constexpr UINT IDD = IDD_USERDEFINE;
  explicit CKvUserDefineKey(HWND parent = nullptr);
  ~CKvUserDefineKey() override;

  // The value of the subkey below the settings key: "" when the key or value is
  // missing or does not fit 127 characters.
  std::string ReadUserDefineValue(const std::string& subkey, const std::string& name);
  // Stores the text as REG_SZ; failures are not reported.
  void WriteUserDefineValue(const std::string& subkey, const std::string& name, const std::string& text);

  BOOL OnInitDialog() override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  std::string m_path;
  std::string m_name;
  std::string m_defaultHelp;

 private:
  void OnBrowse();
  void OnRemove();
  void OnOkClicked();
  // Shows m_name and the first icon of m_path (none when it has none).
  void ShowProgram();

  CKvUDButton m_browse;
  CKvUDButton m_remove;
  orv::unique_hicon m_hLargeIcon;  // the icon shown in 1013
  orv::unique_hicon m_hSmallIcon;
};

// A program path as the user-define values can hold it: the path itself when
// it fits 127 characters, else its short (8.3) form when that fits, else "".
std::string StorableProgramPath(const std::string& path);
// Tells the user, in a message box owned by owner, that a program's path is too
// long to be kept (the text of the language table, or English without it).
void ShowPathTooLong(HWND owner);
