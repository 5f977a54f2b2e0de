// GetOpenFileNameA: the system's file-open dialog, drawn and driven like any
// other dialog of the simulated desktop, over the simulated drives.
#include <commdlg.h>
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include "platform/ui/sim/class_window.h"

namespace {

constexpr int kFolderText = 1091, kStatus = 1090, kList = 1120, kFileName = 1152, kFilterText = 1089;
constexpr const char* kStateProp = "OrvOpenFileDialog";

thread_local DWORD t_lastError = 0;

struct DialogState {
  LPOPENFILENAMEA ofn = nullptr;
  std::string folder;   // "C:\" or "C:\Users\me", no trailing backslash below the root
  std::string pattern;  // "*.*" or "*.exe;*.com"
  std::vector<std::string> entries;  // as listed: folders end with '\'
  bool done = false, chosen = false;
  std::string result;
};

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
  return s;
}

bool Matches(const char* p, const char* s) {
  for (; *p; ++p, ++s) {
    if (*p == '*') {
      for (const char* t = s;; ++t) {
        if (Matches(p + 1, t)) return true;
        if (!*t) return false;
      }
    }
    if (!*s || (*p != '?' && std::tolower(static_cast<unsigned char>(*p)) != std::tolower(static_cast<unsigned char>(*s))))
      return false;
  }
  return *s == '\0';
}

bool MatchesAny(const std::string& patterns, const std::string& name) {
  std::size_t start = 0;
  for (;;) {
    std::size_t end = patterns.find(';', start);
    std::string one = patterns.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (!one.empty() && (one == "*.*" || Matches(one.c_str(), name.c_str()))) return true;
    if (end == std::string::npos) return false;
    start = end + 1;
  }
}

std::string Join(const std::string& folder, const std::string& name) {
  return folder.back() == '\\' ? folder + name : folder + "\\" + name;
}

// "C:\a\..\b\.\c" to "C:\b\c"; the drive's root stays "C:\".
std::string Normalise(const std::string& path) {
  std::string drive = path.substr(0, 2);
  std::vector<std::string> parts;
  std::size_t start = 2;
  while (start <= path.size()) {
    std::size_t end = path.find_first_of("\\/", start);
    std::string part = path.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    if (end == std::string::npos) break;
    start = end + 1;
  }
  std::string out = drive + "\\";
  for (std::size_t i = 0; i < parts.size(); ++i) out += (i ? "\\" : "") + parts[i];
  return out;
}

bool IsAbsolute(const std::string& s) {
  return s.size() >= 2 && std::isalpha(static_cast<unsigned char>(s[0])) && s[1] == ':';
}

// The pattern of the filter nFilterIndex chooses (the first when 0).
std::string FilterPattern(const OPENFILENAMEA& ofn) {
  if (!ofn.lpstrFilter || !*ofn.lpstrFilter) return "*.*";
  const char* p = ofn.lpstrFilter;
  DWORD index = ofn.nFilterIndex ? ofn.nFilterIndex : 1;
  for (DWORD i = 1; *p; ++i) {
    const char* pattern = p + std::strlen(p) + 1;
    if (i == index) return pattern;
    if (!*pattern) break;
    p = pattern + std::strlen(pattern) + 1;
  }
  return "*.*";
}

void Fill(HWND dialog, DialogState& s) {
  s.entries.clear();
  std::vector<std::string> folders, files;
  WIN32_FIND_DATAA found{};
  HANDLE find = FindFirstFileA(Join(s.folder, "*").c_str(), &found);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) folders.push_back(name + "\\");
      else if (MatchesAny(s.pattern, name)) files.push_back(name);
    } while (FindNextFileA(find, &found));
    FindClose(find);
  }
  auto byName = [](const std::string& a, const std::string& b) { return Lower(a) < Lower(b); };
  std::sort(folders.begin(), folders.end(), byName);
  std::sort(files.begin(), files.end(), byName);
  if (s.folder.size() > 3) s.entries.push_back("..\\");
  s.entries.insert(s.entries.end(), folders.begin(), folders.end());
  s.entries.insert(s.entries.end(), files.begin(), files.end());
  HWND list = GetDlgItem(dialog, kList);
  SendMessageA(list, LB_RESETCONTENT, 0, 0);
  for (const std::string& e : s.entries) SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(e.c_str()));
  SetDlgItemTextA(dialog, kFolderText, s.folder.c_str());
  SetDlgItemTextA(dialog, kFilterText, s.pattern.c_str());
  SetDlgItemTextA(dialog, kStatus, "");
}

// Open: a folder is entered, a pattern becomes the filter, a file ends the dialog.
void Open(HWND dialog, DialogState& s, std::string text) {
  while (!text.empty() && text.back() == ' ') text.pop_back();
  while (!text.empty() && text.front() == ' ') text.erase(text.begin());
  if (text.empty()) return;
  if (text.find_first_of("*?") != std::string::npos) {
    s.pattern = text;
    Fill(dialog, s);
    return;
  }
  std::string path = Normalise(IsAbsolute(text) ? text : Join(s.folder, text));
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    s.folder = path;
    SetDlgItemTextA(dialog, kFileName, "");
    Fill(dialog, s);
    return;
  }
  if (attributes == INVALID_FILE_ATTRIBUTES && (s.ofn->Flags & OFN_FILEMUSTEXIST)) {
    SetDlgItemTextA(dialog, kStatus, "File not found.");
    return;
  }
  s.result = path;
  s.chosen = s.done = true;
}

LRESULT CALLBACK FileDialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* s = static_cast<DialogState*>(GetPropA(hwnd, kStateProp));
  if (!s) return DefDlgProcA(hwnd, message, wParam, lParam);
  if (message == WM_CLOSE) {
    s->done = true;
    return 0;
  }
  if (message != WM_COMMAND) return DefDlgProcA(hwnd, message, wParam, lParam);
  const int id = LOWORD(wParam), code = HIWORD(wParam);
  if (id == IDCANCEL) {
    s->done = true;
  } else if (id == IDOK) {
    char text[MAX_PATH * 2] = "";
    GetDlgItemTextA(hwnd, kFileName, text, sizeof text);
    Open(hwnd, *s, text);
  } else if (id == kList && (code == LBN_SELCHANGE || code == LBN_DBLCLK)) {
    const LRESULT index = SendDlgItemMessageA(hwnd, kList, LB_GETCURSEL, 0, 0);
    if (index < 0 || static_cast<std::size_t>(index) >= s->entries.size()) return 0;
    std::string entry = s->entries[static_cast<std::size_t>(index)];
    const bool folder = entry.back() == '\\';
    if (code == LBN_DBLCLK) {
      Open(hwnd, *s, folder ? entry.substr(0, entry.size() - 1) : entry);
    } else {
      SetDlgItemTextA(hwnd, kFileName, folder ? entry.substr(0, entry.size() - 1).c_str() : entry.c_str());
    }
  }
  return 0;
}

HWND Control(HWND parent, const char* cls, const char* text, DWORD style, int id, RECT r) {
  return CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, r.left, r.top, r.right - r.left,
                         r.bottom - r.top, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
}

HWND MakeDialog(const OPENFILENAMEA& ofn) {
  constexpr int kWidth = 440, kHeight = 330;
  RECT place{200, 120, 200 + kWidth, 120 + kHeight};
  RECT owner;
  if (ofn.hwndOwner && GetWindowRect(ofn.hwndOwner, &owner))
    place = RECT{owner.left + 20, owner.top + 20, owner.left + 20 + kWidth, owner.top + 20 + kHeight};
  HWND dialog = orv::ui::CreateClassWindow("OrvFileOpenDialog", FileDialogProc, WS_POPUP | WS_CAPTION | WS_SYSMENU,
                                           WS_EX_DLGMODALFRAME, place, ofn.lpstrTitle ? ofn.lpstrTitle : "Open");
  if (!dialog) return nullptr;
  Control(dialog, "STATIC", "Look in:", SS_LEFT, -1, RECT{10, 10, 70, 26});
  Control(dialog, "STATIC", "", SS_LEFT | SS_NOPREFIX, kFolderText, RECT{75, 10, 430, 26});
  Control(dialog, "LISTBOX", "", LBS_NOTIFY | WS_TABSTOP | WS_BORDER, kList, RECT{10, 32, 430, 212});
  Control(dialog, "STATIC", "File name:", SS_LEFT, -1, RECT{10, 225, 80, 241});
  Control(dialog, "EDIT", ofn.lpstrFile ? ofn.lpstrFile : "", WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, kFileName,
          RECT{90, 221, 320, 243});
  Control(dialog, "STATIC", "", SS_LEFT | SS_NOPREFIX, kStatus, RECT{90, 248, 320, 264});
  Control(dialog, "STATIC", "Files of type:", SS_LEFT, -1, RECT{10, 272, 90, 288});
  Control(dialog, "STATIC", "", SS_LEFT | SS_NOPREFIX, kFilterText, RECT{90, 272, 320, 288});
  Control(dialog, "BUTTON", "&Open", BS_DEFPUSHBUTTON | WS_TABSTOP, IDOK, RECT{330, 220, 430, 244});
  Control(dialog, "BUTTON", "Cancel", BS_PUSHBUTTON | WS_TABSTOP, IDCANCEL, RECT{330, 250, 430, 274});
  return dialog;
}

bool CopyOut(char* buffer, DWORD size, const std::string& text) {
  if (!buffer || text.size() + 1 > size) return false;
  std::memcpy(buffer, text.c_str(), text.size() + 1);
  return true;
}

}  // namespace

extern "C" {

DWORD WINAPI CommDlgExtendedError(void) { return t_lastError; }

BOOL WINAPI GetOpenFileNameA(LPOPENFILENAMEA lpofn) {
  t_lastError = 0;
  if (!lpofn || lpofn->lStructSize != sizeof(OPENFILENAMEA)) {
    t_lastError = CDERR_STRUCTSIZE;
    return FALSE;
  }
  DialogState state;
  state.ofn = lpofn;
  state.pattern = FilterPattern(*lpofn);
  state.folder = lpofn->lpstrInitialDir && IsAbsolute(lpofn->lpstrInitialDir) ? Normalise(lpofn->lpstrInitialDir)
                                                                              : std::string("C:\\");
  HWND dialog = MakeDialog(*lpofn);
  if (!dialog) {
    t_lastError = CDERR_INITIALIZATION;
    return FALSE;
  }
  SetPropA(dialog, kStateProp, &state);
  Fill(dialog, state);
  HWND owner = lpofn->hwndOwner;
  while (owner && (GetWindowLongPtrA(owner, GWL_STYLE) & WS_CHILD)) owner = GetParent(owner);
  const bool disabledOwner = owner && !EnableWindow(owner, FALSE);
  ShowWindow(dialog, SW_SHOWNORMAL);
  SetForegroundWindow(dialog);
  SetFocus(GetDlgItem(dialog, kFileName));
  MSG msg{};
  while (!state.done && IsWindow(dialog)) {
    if (!GetMessageA(&msg, nullptr, 0, 0)) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (!IsDialogMessageA(dialog, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  if (disabledOwner) EnableWindow(owner, TRUE);
  RemovePropA(dialog, kStateProp);
  DestroyWindow(dialog);
  if (owner) SetForegroundWindow(owner);
  if (!state.chosen) return FALSE;

  const std::size_t slash = state.result.find_last_of('\\');
  const std::string name = state.result.substr(slash + 1);
  if (!CopyOut(lpofn->lpstrFile, lpofn->nMaxFile, state.result)) {
    t_lastError = FNERR_BUFFERTOOSMALL;
    if (lpofn->lpstrFile && lpofn->nMaxFile >= 2) {
      const WORD needed = static_cast<WORD>(std::min<std::size_t>(state.result.size() + 1, 0xFFFF));
      std::memcpy(lpofn->lpstrFile, &needed, sizeof needed);
    }
    return FALSE;
  }
  if (lpofn->lpstrFileTitle && lpofn->nMaxFileTitle > 0) {
    std::size_t n = std::min<std::size_t>(name.size(), lpofn->nMaxFileTitle - 1);
    std::memcpy(lpofn->lpstrFileTitle, name.c_str(), n);
    lpofn->lpstrFileTitle[n] = '\0';
  }
  lpofn->nFileOffset = static_cast<WORD>(slash + 1);
  const std::size_t dot = name.find_last_of('.');
  lpofn->nFileExtension = static_cast<WORD>(dot == std::string::npos ? state.result.size() : slash + 1 + dot + 1);
  return TRUE;
}

}  // extern "C"
