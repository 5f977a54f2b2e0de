// Single instance and the main window's run. The session ends the program as
// the task list does, with WM_CLOSE to its main window, which ends the dialog
// as the tray menu's exit does, so the teardown runs.
#include "tray/core/CalvexApp.h"

#include <windows.h>

#include <cstdio>

#include "platform/base/unique_handle.h"
#include "tray/core/CalvexDlg.h"

BOOL CCalvexApp::InitInstance() {
  // Held until the main window has gone, so a second copy ends at once meanwhile.
  orv::unique_handle mutex(CreateMutexA(nullptr, FALSE, "Calvex"));
  if (GetLastError() == static_cast<DWORD>(ERROR_ALREADY_EXISTS)) return FALSE;
  CCalvexDlg dlg;
  m_pMainWnd = &dlg;
  if (dlg.DoModal() == -1) {
    // Without its main window the program can do nothing at all: say so and end.
    std::fprintf(stderr, "Calvex: the main window could not be created; ending\n");
    m_nExitCode = 1;
  }
  m_pMainWnd = nullptr;
  mutex.reset();
  return FALSE;
}
