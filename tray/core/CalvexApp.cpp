// Single instance, the main window's run, and the way the session asks the
// program to end (a console control event becomes the tray menu's exit command,
// so the teardown runs as it does for a user's exit).
#include "tray/core/CalvexApp.h"

#include <atomic>
#include <cstdio>

#include <windows.h>

#include "platform/base/unique_handle.h"
#include "platform/ui/message.h"
#include "tray/core/CalvexDlg.h"

using namespace orv::win;

namespace {

std::atomic<HWND> g_exitTarget{nullptr};

// The session asks the program to end: the tray menu's exit runs the teardown.
// The process ends as soon as this handler returns, so it does not return: the
// main thread ends the process once the teardown is done.
BOOL WINAPI OnSessionEnd(DWORD) {
  HWND target = g_exitTarget.load();
  if (!target) return FALSE;
  PostMessageA(target, WM_COMMAND, ID_TRAY_EXIT, 0);
  Sleep(INFINITE);
  return TRUE;
}

// Publishes the main window to the end-of-session handler once it exists.
class CRunningDlg : public CCalvexDlg {
 public:
  BOOL OnInitDialog() override {
    BOOL result = CCalvexDlg::OnInitDialog();
    g_exitTarget = m_hWnd;
    return result;
  }
};

}  // namespace

BOOL CCalvexApp::InitInstance() {
  // Held until the main window has gone, so a second copy ends at once meanwhile.
  orv::unique_handle mutex(CreateMutexA(nullptr, FALSE, "Calvex"));
  if (GetLastError() == static_cast<DWORD>(ERROR_ALREADY_EXISTS)) return FALSE;
  SetConsoleCtrlHandler(OnSessionEnd, TRUE);
  {
    CRunningDlg dlg;
    m_pMainWnd = &dlg;
    if (dlg.DoModal() == -1) {
      // Without its main window the program can do nothing at all: say so and end.
      std::fprintf(stderr, "Calvex: the main window could not be created; ending\n");
      m_nExitCode = 1;
    }
    g_exitTarget = nullptr;
    m_pMainWnd = nullptr;
  }
  return FALSE;
}
