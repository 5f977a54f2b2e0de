// The command-line actions of OrvService and its service entry points.
#pragma once
#include <windows.h>

namespace orv::service {

void CmdInstallService();
void CmdRemoveService();
void CmdStartService();
void CmdStopService();
// Runs the pipe server in this console until Ctrl+C or Ctrl+Break.
void CmdDebugService(int argc, char** argv);

// The service main function and the control handler the dispatcher calls.
VOID WINAPI service_main(DWORD dwArgc, LPSTR* lpszArgv);
VOID WINAPI service_ctrl(DWORD dwCtrlCode);

}  // namespace orv::service
