// Status reports, event-log entries and error texts of the service.
#include "service/service_status.h"

#include <atomic>
#include <cstdio>
#include <cstring>
#include <mutex>

#include "platform/base/unique_handle.h"

namespace orv::service {
namespace {

std::atomic<bool> g_bDebug{false};
std::atomic<DWORD> g_dwErr{0};
std::mutex g_statusMutex;
SERVICE_STATUS_HANDLE g_sshStatusHandle = nullptr;
SERVICE_STATUS g_ssStatus{SERVICE_WIN32_OWN_PROCESS, SERVICE_STOPPED, 0, 0, 0, 0, 0};
DWORD g_dwCheckPoint = 1;

BOOL ReportLocked(DWORD currentState, DWORD win32ExitCode, DWORD waitHint) {
  if (g_bDebug) return TRUE;
  g_ssStatus.dwControlsAccepted = currentState == SERVICE_START_PENDING ? 0 : SERVICE_ACCEPT_STOP;
  g_ssStatus.dwCurrentState = currentState;
  g_ssStatus.dwWin32ExitCode = win32ExitCode;
  g_ssStatus.dwWaitHint = waitHint;
  g_ssStatus.dwCheckPoint =
      (currentState == SERVICE_RUNNING || currentState == SERVICE_STOPPED) ? 0 : g_dwCheckPoint++;
  BOOL result = SetServiceStatus(g_sshStatusHandle, &g_ssStatus);
  if (!result) AddToMessageLog("SetServiceStatus");
  return result;
}

}  // namespace

void SetDebugMode(bool debug) { g_bDebug = debug; }
bool DebugMode() { return g_bDebug; }

void SetStatusHandle(SERVICE_STATUS_HANDLE handle) {
  std::lock_guard<std::mutex> lock(g_statusMutex);
  g_sshStatusHandle = handle;
  g_ssStatus.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
  g_ssStatus.dwServiceSpecificExitCode = 0;
}

BOOL ReportStatusToSCMgr(DWORD currentState, DWORD win32ExitCode, DWORD waitHint) {
  std::lock_guard<std::mutex> lock(g_statusMutex);
  return ReportLocked(currentState, win32ExitCode, waitHint);
}

BOOL ReportCurrentStatus() {
  std::lock_guard<std::mutex> lock(g_statusMutex);
  return ReportLocked(g_ssStatus.dwCurrentState, 0, 0);
}

void AddToMessageLog(const char* msg) {
  if (g_bDebug) return;
  DWORD err = GetLastError();
  g_dwErr = err;
  orv::unique_event_source hEventSource(RegisterEventSourceA(nullptr, SZSERVICENAME));
  if (!hEventSource) return;
  char szMsg[115];
  std::snprintf(szMsg, sizeof szMsg, "%s error: %d", SZSERVICENAME, static_cast<int>(err));
  LPCSTR lpszStrings[2] = {szMsg, msg};
  ReportEventA(hEventSource.get(), EVENTLOG_ERROR_TYPE, 0, 0, nullptr, 2, 0, lpszStrings, nullptr);
}

DWORD SavedErrorCode() { return g_dwErr; }

char* GetLastErrorText(char* buffer, DWORD size) {
  DWORD err = GetLastError();
  LPSTR lpszTemp = nullptr;
  DWORD dwRet = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ARGUMENT_ARRAY,
                               nullptr, err, LANG_NEUTRAL, reinterpret_cast<LPSTR>(&lpszTemp), 0, nullptr);
  orv::unique_hlocal owner(lpszTemp);
  if (!dwRet || size < dwRet + 14) {
    if (size) buffer[0] = '\0';
  } else {
    lpszTemp[std::strlen(lpszTemp) - 2] = '\0';  // the line break
    std::snprintf(buffer, size, "%s (0x%lx)", lpszTemp, static_cast<unsigned long>(err));
  }
  return buffer;
}

}  // namespace orv::service
