// The service's process-wide state and reporting: the debug flag, the status
// record reported to the service control manager, the event-log writer and the
// system error text.
#pragma once
#include <windows.h>

#define SZSERVICENAME "Orv Calvex"
#define SZSERVICEDISPLAYNAME "Orv Calvex"

namespace orv::service {

// Set by the debug option: nothing is reported and nothing is logged.
void SetDebugMode(bool debug);
bool DebugMode();

void SetStatusHandle(SERVICE_STATUS_HANDLE handle);

// Fills the status record and reports it; TRUE in debug mode. The control
// handler's thread and the server's thread both report, so each report holds a
// lock from filling the record to SetServiceStatus.
BOOL ReportStatusToSCMgr(DWORD currentState, DWORD win32ExitCode, DWORD waitHint);
// Reports the current state again (exit code 0, wait hint 0).
BOOL ReportCurrentStatus();

// Writes an error entry with "<service> error: <last error>" and msg; saves the
// error code for the stopped report. Does nothing in debug mode.
void AddToMessageLog(const char* msg);
// The code AddToMessageLog saved last (0 if nothing failed).
DWORD SavedErrorCode();

// The system text of the last error as "<text> (0x<code>)", empty when there is no
// text or it does not fit with 14 characters to spare.
char* GetLastErrorText(char* buffer, DWORD size);

}  // namespace orv::service
