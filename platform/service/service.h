// The service control manager, shaped like the Win32 calls: a service database
// under $ORV_HOME/services (one folder per service holding its "config" and
// "status"), StartService launching the program as a detached process, and the
// dispatcher inside that process serving the control channel, a socket
// "<service folder>/control" through which ControlService reaches the service's
// control handler. No manager process runs: each call reads and writes the
// database itself, and a service whose process has died reads as stopped.
#pragma once
#include <string>

#include "platform/service/errors.h"

namespace orv::svc {

using SC_HANDLE = void*;
using SERVICE_STATUS_HANDLE = void*;

constexpr DWORD SC_MANAGER_CONNECT = 0x0001;
constexpr DWORD SC_MANAGER_CREATE_SERVICE = 0x0002;
constexpr DWORD SC_MANAGER_ENUMERATE_SERVICE = 0x0004;
constexpr DWORD SC_MANAGER_ALL_ACCESS = 0xF003F;
constexpr DWORD SERVICE_QUERY_CONFIG = 0x0001;
constexpr DWORD SERVICE_QUERY_STATUS = 0x0004;
constexpr DWORD SERVICE_START = 0x0010;
constexpr DWORD SERVICE_STOP = 0x0020;
constexpr DWORD SERVICE_INTERROGATE = 0x0080;
constexpr DWORD DELETE = 0x00010000;
constexpr DWORD SERVICE_ALL_ACCESS = 0xF01FF;

constexpr DWORD SERVICE_WIN32_OWN_PROCESS = 0x10;
constexpr DWORD SERVICE_AUTO_START = 2;
constexpr DWORD SERVICE_DEMAND_START = 3;
constexpr DWORD SERVICE_DISABLED = 4;
constexpr DWORD SERVICE_ERROR_NORMAL = 1;

constexpr DWORD SERVICE_STOPPED = 1;
constexpr DWORD SERVICE_START_PENDING = 2;
constexpr DWORD SERVICE_STOP_PENDING = 3;
constexpr DWORD SERVICE_RUNNING = 4;
constexpr DWORD SERVICE_CONTINUE_PENDING = 5;
constexpr DWORD SERVICE_PAUSE_PENDING = 6;
constexpr DWORD SERVICE_PAUSED = 7;

constexpr DWORD SERVICE_CONTROL_STOP = 1;
constexpr DWORD SERVICE_CONTROL_PAUSE = 2;
constexpr DWORD SERVICE_CONTROL_CONTINUE = 3;
constexpr DWORD SERVICE_CONTROL_INTERROGATE = 4;
constexpr DWORD SERVICE_ACCEPT_STOP = 0x1;

struct SERVICE_STATUS {
  DWORD dwServiceType;
  DWORD dwCurrentState;
  DWORD dwControlsAccepted;
  DWORD dwWin32ExitCode;
  DWORD dwServiceSpecificExitCode;
  DWORD dwCheckPoint;
  DWORD dwWaitHint;
};

using LPSERVICE_MAIN_FUNCTION = void (*)(DWORD argc, char** argv);
using LPHANDLER_FUNCTION = void (*)(DWORD control);

struct SERVICE_TABLE_ENTRY {
  const char* lpServiceName;
  LPSERVICE_MAIN_FUNCTION lpServiceProc;
};

// machine and database must be null (the local machine's active database).
SC_HANDLE OpenSCManager(const char* machine, const char* database, DWORD access);
SC_HANDLE CreateService(SC_HANDLE manager, const char* name, const char* displayName, DWORD access,
                        DWORD serviceType, DWORD startType, DWORD errorControl, const char* binaryPath,
                        const char* loadOrderGroup, DWORD* tagId, const char* dependencies,
                        const char* account, const char* password);
SC_HANDLE OpenService(SC_HANDLE manager, const char* name, DWORD access);
BOOL CloseServiceHandle(SC_HANDLE handle);
// Marks the service for deletion; it goes as soon as it is (or once it has) stopped.
BOOL DeleteService(SC_HANDLE service);
// Launches the service's program and returns once its dispatcher has connected
// (ERROR_SERVICE_REQUEST_TIMEOUT if it does not within 30 s or the program ends first).
BOOL StartService(SC_HANDLE service, DWORD argc, const char** argv);
// Delivers a control to the service's handler and returns the status afterwards.
BOOL ControlService(SC_HANDLE service, DWORD control, SERVICE_STATUS* status);
BOOL QueryServiceStatus(SC_HANDLE service, SERVICE_STATUS* status);

// Inside the service process: connects to the manager (only a process that
// StartService launched can; others get ERROR_FAILED_SERVICE_CONTROLLER_CONNECT),
// runs the service's main function on a thread of its own and serves controls on
// the calling thread until the main function has returned.
BOOL StartServiceCtrlDispatcher(const SERVICE_TABLE_ENTRY* table);
SERVICE_STATUS_HANDLE RegisterServiceCtrlHandler(const char* name, LPHANDLER_FUNCTION handler);
BOOL SetServiceStatus(SERVICE_STATUS_HANDLE handle, const SERVICE_STATUS* status);

// A machine start: starts every automatic service that is not running. Returns
// the number started; failures are written to *failures (one line each) if given.
int StartAutomaticServices(std::string* failures = nullptr);

}  // namespace orv::svc
