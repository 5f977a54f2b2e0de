// CWinApp: the application object. Run calls InitInstance, which does the
// program's work; when it answers TRUE the thread's message loop runs until
// WM_QUIT. ExitInstance gives the program's exit code.
#pragma once
#include <windows.h>

class CWnd;

class CWinApp {
 public:
  CWinApp();
  virtual ~CWinApp();
  CWinApp(const CWinApp&) = delete;
  CWinApp& operator=(const CWinApp&) = delete;

  virtual BOOL InitInstance() { return FALSE; }
  virtual int ExitInstance() { return m_nExitCode; }
  int Run();

  CWnd* m_pMainWnd = nullptr;
  int m_nExitCode = 0;
};

// The one application object (set by CWinApp's constructor).
CWinApp* AfxGetApp();
// The program's module: where its dialog templates and icons are.
HINSTANCE AfxGetInstanceHandle();
