// Install, remove, start, stop and debug, and the service's main function and
// control handler.
#include "service/commands.h"

#include <cstdio>

#include "platform/base/unique_handle.h"
#include "service/pipe_server.h"
#include "service/service_status.h"

namespace orv::service {
namespace {

constexpr DWORD kErrorTextSize = 256;
// After a failure the manager starts the service again at once, for every failure:
// the tray's firmware reads and writes all go through it.
constexpr DWORD kRestartDelayMs = 1000;
constexpr DWORD kFailureCountResetSeconds = 24 * 60 * 60;

// Has the manager restart the service whenever its process ends without reporting the stop.
BOOL SetRecoveryActions(SC_HANDLE schService) {
  SC_ACTION restart{SC_ACTION_RESTART, kRestartDelayMs};
  SERVICE_FAILURE_ACTIONSA actions{};
  actions.dwResetPeriod = kFailureCountResetSeconds;
  actions.cActions = 1;
  actions.lpsaActions = &restart;
  return ChangeServiceConfig2A(schService, SERVICE_CONFIG_FAILURE_ACTIONS, &actions);
}

// Sends the stop control; when it is accepted, waits for the stop with the
// console lines of the stop option. Quiet when the control is refused (FALSE).
BOOL StopAndWait(SC_HANDLE schService) {
  SERVICE_STATUS ssStatus{};
  if (!ControlService(schService, SERVICE_CONTROL_STOP, &ssStatus)) return FALSE;
  std::printf("Stopping %s.", SZSERVICENAME);
  std::fflush(stdout);
  Sleep(1000);
  while (QueryServiceStatus(schService, &ssStatus) && ssStatus.dwCurrentState == SERVICE_STOP_PENDING) {
    std::printf(".");
    std::fflush(stdout);
    Sleep(1000);
  }
  if (ssStatus.dwCurrentState == SERVICE_STOPPED) {
    std::printf("\n%s stopped.\n", SZSERVICENAME);
  } else {
    std::printf("\n%s failed to stop.\n", SZSERVICENAME);
  }
  return TRUE;
}

// Opens the manager and the service with the failure lines of the options.
bool OpenBoth(DWORD serviceAccess, unique_schandle* schSCManager, unique_schandle* schService) {
  char szErr[kErrorTextSize];
  schSCManager->reset(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT));
  if (!*schSCManager) {
    std::printf("OpenSCManager failed - %s\n", GetLastErrorText(szErr, sizeof szErr));
    return false;
  }
  schService->reset(OpenServiceA(schSCManager->get(), SZSERVICENAME, serviceAccess));
  if (!*schService) {
    std::printf("OpenService failed - %s\n", GetLastErrorText(szErr, sizeof szErr));
    return false;
  }
  return true;
}

BOOL WINAPI ControlHandler(DWORD dwCtrlType) {
  if (dwCtrlType == CTRL_C_EVENT || dwCtrlType == CTRL_BREAK_EVENT) {
    std::printf("Stopping %s.\n", SZSERVICENAME);
    std::fflush(stdout);
    ServiceStop();
    return TRUE;
  }
  return FALSE;
}

}  // namespace

void CmdInstallService() {
  char szErr[kErrorTextSize];
  char szPath[512];
  DWORD len = GetModuleFileNameA(nullptr, szPath, sizeof szPath);
  // A cut path would install some other program, so it counts as a failure.
  if (len == 0 || len >= sizeof szPath) {
    std::printf("Unable to install %s - %s\n", SZSERVICENAME, GetLastErrorText(szErr, sizeof szErr));
    return;
  }
  unique_schandle schSCManager(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT | SC_MANAGER_CREATE_SERVICE));
  if (!schSCManager) {
    std::printf("OpenSCManager failed - %s\n", GetLastErrorText(szErr, sizeof szErr));
    return;
  }
  unique_schandle schService(CreateServiceA(schSCManager.get(), SZSERVICENAME, SZSERVICEDISPLAYNAME,
                                            SERVICE_ALL_ACCESS, SERVICE_WIN32_OWN_PROCESS, SERVICE_AUTO_START,
                                            SERVICE_ERROR_NORMAL, szPath, nullptr, nullptr, "", nullptr, nullptr));
  if (!schService) {
    std::printf("CreateService failed - %s\n", GetLastErrorText(szErr, sizeof szErr));
    return;
  }
  std::printf("%s installed.\n", SZSERVICENAME);
  if (!SetRecoveryActions(schService.get())) {
    std::printf("ChangeServiceConfig2 failed - %s\n", GetLastErrorText(szErr, sizeof szErr));
  }
  if (StartServiceA(schService.get(), 0, nullptr)) {
    std::printf("%s started.\n", SZSERVICENAME);
  } else {
    std::printf("StartService failed - %s\n", GetLastErrorText(szErr, sizeof szErr));
  }
}

void CmdRemoveService() {
  char szErr[kErrorTextSize];
  unique_schandle schSCManager, schService;
  if (!OpenBoth(DELETE | SERVICE_STOP | SERVICE_QUERY_STATUS, &schSCManager, &schService)) return;
  StopAndWait(schService.get());
  if (DeleteService(schService.get())) {
    std::printf("%s removed.\n", SZSERVICENAME);
  } else {
    std::printf("DeleteService failed - %s\n", GetLastErrorText(szErr, sizeof szErr));
  }
}

void CmdStartService() {
  char szErr[kErrorTextSize];
  unique_schandle schSCManager, schService;
  if (!OpenBoth(SERVICE_ALL_ACCESS, &schSCManager, &schService)) return;
  if (StartServiceA(schService.get(), 0, nullptr)) {
    std::printf("%s started.\n", SZSERVICENAME);
  } else {
    std::printf("StartService failed - %s\n", GetLastErrorText(szErr, sizeof szErr));
  }
}

void CmdStopService() {
  char szErr[kErrorTextSize];
  unique_schandle schSCManager, schService;
  if (!OpenBoth(SERVICE_ALL_ACCESS, &schSCManager, &schService)) return;
  if (!StopAndWait(schService.get())) std::printf("StopService failed - %s\n", GetLastErrorText(szErr, sizeof szErr));
}

void CmdDebugService(int argc, char** argv) {
  std::printf("Debugging %s.\n", SZSERVICENAME);
  std::fflush(stdout);
  SetConsoleCtrlHandler(ControlHandler, TRUE);
  ServiceStart(static_cast<DWORD>(argc), argv);
}

VOID WINAPI service_main(DWORD dwArgc, LPSTR* lpszArgv) {
  SERVICE_STATUS_HANDLE sshStatusHandle = RegisterServiceCtrlHandlerA(SZSERVICENAME, service_ctrl);
  if (!sshStatusHandle) return;
  SetStatusHandle(sshStatusHandle);
  if (ReportStatusToSCMgr(SERVICE_START_PENDING, ERROR_SUCCESS, 3000)) ServiceStart(dwArgc, lpszArgv);
  ReportStatusToSCMgr(SERVICE_STOPPED, SavedErrorCode(), 0);
}

VOID WINAPI service_ctrl(DWORD dwCtrlCode) {
  if (dwCtrlCode == SERVICE_CONTROL_STOP) {
    ReportStatusToSCMgr(SERVICE_STOP_PENDING, ERROR_SUCCESS, 0);
    ServiceStop();
    return;
  }
  ReportCurrentStatus();
}

}  // namespace orv::service
