// The command-line actions of OrvService and its service entry points.
#pragma once
#include "platform/base/types.h"

namespace orv::service {

void CmdInstallService();
void CmdRemoveService();
void CmdStartService();
void CmdStopService();
// Runs the pipe server in this console until Ctrl+C or Ctrl+Break.
void CmdDebugService(int argc, char** argv);

// The service main function and the control handler the dispatcher calls.
void service_main(orv::win::DWORD dwArgc, char** lpszArgv);
void service_ctrl(orv::win::DWORD dwCtrlCode);

}  // namespace orv::service
