// The user-define key dialog, its help buttons and its registry values.
#include "tray/dialogs/KvUserDefineKey.h"

#include <commdlg.h>
#include <shellapi.h>

#include <cstring>
#include <utility>

#include "tray/core/CalvexDlg.h"
#include "tray/ui/LanguageTable.h"

namespace {

constexpr const char* kPathValue = "UserDefineFilePath";
constexpr const char* kNameValue = "UserDefineFileName";

std::string KeyPath(const std::string& subkey) { return std::string(USER_DEFINE_ROOT) + "\\" + subkey; }

// The file name with its extension: what follows the last backslash.
std::string FileNameOf(const std::string& path) {
  const std::size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::string StorableProgramPath(const std::string& path) {
  if (path.size() <= kUserDefineMaxText) return path;
  char shortPath[MAX_PATH];
  const DWORD n = GetShortPathNameA(path.c_str(), shortPath, sizeof shortPath);
  if (n == 0 || n >= sizeof shortPath || n > kUserDefineMaxText) return std::string();
  return shortPath;
}

void ShowPathTooLong(HWND owner) {
  std::string file, section;
  ResolveLanguageTable(file, section);
  std::string message = ReadLanguageString(section, "IDS_USERDEFINE_PATH_TOO_LONG", file);
  if (message.empty()) message = "The path of this program is too long. Choose a program in a shorter folder.";
  std::string title = ReadLanguageString(section, "IDS_MENUITEM_USERDEFINE", file);
  if (title.empty()) title = "Calvex";
  MessageBoxA(owner, message.c_str(), title.c_str(), MB_OK | MB_ICONWARNING);
}

CKvUserDefineKey::CKvUserDefineKey(HWND parent) : CDialog(IDD, parent) {}

CKvUserDefineKey::~CKvUserDefineKey() {
  // Covers Cancel and Esc, which end the dialog without OnOkClicked.
  if (g_pMainDlg) g_pMainDlg->m_bUserDefineDlgOpen = false;
}

std::string CKvUserDefineKey::ReadUserDefineValue(const std::string& subkey, const std::string& name) {
  orv::unique_hkey key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, KeyPath(subkey).c_str(), 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS)
    return std::string();
  char text[kUserDefineMaxText + 1];
  DWORD size = sizeof text;
  if (RegQueryValueExA(key.get(), name.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size) !=
      ERROR_SUCCESS)
    return std::string();
  // 128 bytes with no terminator among them is a text of 128 characters or more.
  const char* end = static_cast<const char*>(std::memchr(text, '\0', size));
  if (!end && size >= sizeof text) return std::string();
  return std::string(text, end ? static_cast<std::size_t>(end - text) : size);
}

void CKvUserDefineKey::WriteUserDefineValue(const std::string& subkey, const std::string& name,
                                            const std::string& text) {
  orv::unique_hkey key;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, KeyPath(subkey).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(),
                      nullptr) != ERROR_SUCCESS)
    return;
  RegSetValueExA(key.get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                 static_cast<DWORD>(text.size() + 1));
}

BOOL CKvUserDefineKey::OnInitDialog() {
  CDialog::OnInitDialog();
  m_browse.SubclassDlgItem(IDC_UD_BROWSE, this);
  m_remove.SubclassDlgItem(IDC_UD_REMOVE, this);
  std::string file, section;
  ResolveLanguageTable(file, section);
  auto text = [&](const char* key) { return ReadLanguageString(section, key, file); };
  SetWindowTextA(m_hWnd, text("IDS_MENUITEM_USERDEFINE").c_str());
  SetDlgItemTextA(m_hWnd, IDC_UD_DOC, text("IDS_USERDEFINE_DOC").c_str());
  SetDlgItemTextA(m_hWnd, IDC_UD_CURRENT, text("IDS_USERDEFINE_CURRENT").c_str());
  SetDlgItemTextA(m_hWnd, IDC_UD_BROWSE, text("IDS_BUTTON_BROWSE").c_str());
  SetDlgItemTextA(m_hWnd, IDC_UD_REMOVE, text("IDS_BUTTON_REMOVE").c_str());
  SetDlgItemTextA(m_hWnd, IDOK, text("IDS_BUTTON_OK").c_str());
  SetDlgItemTextA(m_hWnd, IDCANCEL, text("IDS_BUTTON_CANCEL").c_str());
  m_defaultHelp = text("IDS_USERDEFINE_BT_DF_DOC");
  SetDlgItemTextA(m_hWnd, IDC_UD_HELP, m_defaultHelp.c_str());
  m_path = ReadUserDefineValue(USER_DEFINE_SUBKEY, kPathValue);
  m_name = ReadUserDefineValue(USER_DEFINE_SUBKEY, kNameValue);
  ShowProgram();
  return TRUE;
}

void CKvUserDefineKey::ShowProgram() {
  SetDlgItemTextA(m_hWnd, IDC_UD_NAME, m_name.c_str());
  orv::unique_hicon large, small;
  if (m_path.empty() || ExtractIconExA(m_path.c_str(), 0, large.put(), small.put(), 1) == 0 || !large)
    return;  // no icon found: the one shown before stays, as the user last saw it
  SendDlgItemMessageA(m_hWnd, IDC_UD_ICON, STM_SETICON, reinterpret_cast<WPARAM>(large.get()), 0);
  // The control shows the new icon now: the one it showed before may go.
  m_hLargeIcon = std::move(large);
  m_hSmallIcon = std::move(small);
}

void CKvUserDefineKey::OnBrowse() {
  char file[MAX_PATH] = "*.*";
  char title[MAX_PATH] = "";
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = m_hWnd;
  ofn.lpstrFilter = "*.*\0*.*\0";
  ofn.lpstrFile = file;
  ofn.nMaxFile = sizeof file;
  ofn.lpstrFileTitle = title;
  ofn.nMaxFileTitle = sizeof title;
  ofn.Flags = OFN_HIDEREADONLY | OFN_FILEMUSTEXIST;
  if (GetOpenFileNameA(&ofn)) {
    // The readers take 127 characters at most: a longer path is kept in its
    // short form, or refused when even that is too long.
    const std::string path = StorableProgramPath(file);
    if (path.empty()) {
      ShowPathTooLong(m_hWnd);
    } else {
      m_path = path;
      m_name = title[0] ? title : FileNameOf(file);
      if (m_name.size() > kUserDefineMaxText) m_name = FileNameOf(path);
    }
  }
  ShowProgram();
}

void CKvUserDefineKey::OnRemove() {
  WriteUserDefineValue(USER_DEFINE_SUBKEY, kPathValue, "");
  WriteUserDefineValue(USER_DEFINE_SUBKEY, kNameValue, "");
  m_path.clear();
  m_name.clear();
  SetDlgItemTextA(m_hWnd, IDC_UD_NAME, "");
  SendDlgItemMessageA(m_hWnd, IDC_UD_ICON, STM_SETICON, 0, 0);
}

void CKvUserDefineKey::OnOkClicked() {
  if (!m_path.empty()) {
    WriteUserDefineValue(USER_DEFINE_SUBKEY, kPathValue, m_path);
    WriteUserDefineValue(USER_DEFINE_SUBKEY, kNameValue, m_name);
  }
  if (g_pMainDlg) g_pMainDlg->m_bUserDefineDlgOpen = false;
  EndDialog(IDOK);
}

LRESULT CKvUserDefineKey::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_MOUSEMOVE) {
    SetDlgItemTextA(m_hWnd, IDC_UD_HELP, m_defaultHelp.c_str());
  } else if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
    switch (LOWORD(wParam)) {
      case IDC_UD_BROWSE: OnBrowse(); return 0;
      case IDC_UD_REMOVE: OnRemove(); return 0;
      case IDOK: OnOkClicked(); return 0;
      default: break;
    }
  }
  return CDialog::WindowProc(message, wParam, lParam);
}
