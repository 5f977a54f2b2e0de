// Single instance, the main window's run, and the way the simulated session asks
// the program to end (SIGINT/SIGTERM arrive as the tray menu's exit command, so the
// teardown runs as it does for a user's exit).
#include "tray/core/CalvexApp.h"

#include <atomic>
#include <cstdio>

#include "platform/base/error.h"
#include <windows.h>
#include "platform/service/console.h"
#include "platform/ui/message.h"
#include "tray/core/CalvexDlg.h"

using namespace orv::win;

namespace {

std::atomic<HWND> g_exitTarget{nullptr};

BOOL OnSessionEnd(DWORD) {
  HWND target = g_exitTarget.load();
  if (target) PostMessageA(target, WM_COMMAND, ID_TRAY_EXIT, 0);
  return target ? TRUE : FALSE;
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
  HANDLE mutex = CreateMutexA(nullptr, FALSE, "Calvex");
  if (GetLastError() == static_cast<DWORD>(ERROR_ALREADY_EXISTS)) {
    if (mutex) CloseHandle(mutex);
    return FALSE;
  }
  orv::svc::SetConsoleCtrlHandler(OnSessionEnd, TRUE);
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
  if (mutex) CloseHandle(mutex);
  return FALSE;
}
