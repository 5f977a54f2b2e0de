// The simulated build's <commdlg.h>: the system's file-open dialog over the
// simulated drives.
#pragma once
#include <windows.h>

extern "C" {

typedef UINT_PTR(CALLBACK* LPOFNHOOKPROC)(HWND, UINT, WPARAM, LPARAM);

typedef struct tagOFNA {
  DWORD lStructSize;
  HWND hwndOwner;
  HINSTANCE hInstance;
  LPCSTR lpstrFilter;
  LPSTR lpstrCustomFilter;
  DWORD nMaxCustFilter;
  DWORD nFilterIndex;
  LPSTR lpstrFile;
  DWORD nMaxFile;
  LPSTR lpstrFileTitle;
  DWORD nMaxFileTitle;
  LPCSTR lpstrInitialDir;
  LPCSTR lpstrTitle;
  DWORD Flags;
  WORD nFileOffset;
  WORD nFileExtension;
  LPCSTR lpstrDefExt;
  LPARAM lCustData;
  LPOFNHOOKPROC lpfnHook;
  LPCSTR lpTemplateName;
  void* pvReserved;
  DWORD dwReserved;
  DWORD FlagsEx;
} OPENFILENAMEA, *LPOPENFILENAMEA;

#define OFN_READONLY 0x00000001
#define OFN_OVERWRITEPROMPT 0x00000002
#define OFN_HIDEREADONLY 0x00000004
#define OFN_NOCHANGEDIR 0x00000008
#define OFN_NOVALIDATE 0x00000100
#define OFN_PATHMUSTEXIST 0x00000800
#define OFN_FILEMUSTEXIST 0x00001000
#define OFN_EXPLORER 0x00080000

#define CDERR_STRUCTSIZE 0x0001
#define CDERR_INITIALIZATION 0x0002
#define FNERR_BUFFERTOOSMALL 0x3003

// A modal dialog titled lpstrTitle (default "Open") over the owner, which it
// disables meanwhile: the folder's entries in a list (folders first, marked
// "\", then the files that match the filter chosen by nFilterIndex; with
// OFN_HIDEREADONLY there is no read-only box), a file-name box that starts with
// lpstrFile's text, Open and Cancel. A click on an entry puts its name in the
// box; Open (or Enter) opens a folder, takes a pattern ("*.exe") as the filter,
// or ends the dialog with the file, typed as a name in the folder or as a full
// path; with OFN_FILEMUSTEXIST a file that does not exist leaves the dialog
// open with "File not found." under the box. TRUE with the full path in
// lpstrFile, the name in lpstrFileTitle, and nFileOffset / nFileExtension set;
// FALSE on Cancel or Esc (CommDlgExtendedError 0) or when lpstrFile is too
// small for the path (FNERR_BUFFERTOOSMALL, its first two bytes the size
// needed).
BOOL WINAPI GetOpenFileNameA(LPOPENFILENAMEA lpofn);
DWORD WINAPI CommDlgExtendedError(void);

}  // extern "C"
