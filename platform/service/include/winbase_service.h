// The event log and system message texts that the SDK declares in winbase.h (a
// partial header of the simulated build's winbase.h).
#pragma once
#include <cstdarg>

#include "windef.h"

#define EVENTLOG_SUCCESS 0x0000
#define EVENTLOG_ERROR_TYPE 0x0001
#define EVENTLOG_WARNING_TYPE 0x0002
#define EVENTLOG_INFORMATION_TYPE 0x0004

#define FORMAT_MESSAGE_ALLOCATE_BUFFER 0x00000100
#define FORMAT_MESSAGE_IGNORE_INSERTS 0x00000200
#define FORMAT_MESSAGE_FROM_STRING 0x00000400
#define FORMAT_MESSAGE_FROM_HMODULE 0x00000800
#define FORMAT_MESSAGE_FROM_SYSTEM 0x00001000
#define FORMAT_MESSAGE_ARGUMENT_ARRAY 0x00002000
#define FORMAT_MESSAGE_MAX_WIDTH_MASK 0x000000FF

extern "C" {

// Every entry goes to syslog under its source name and, one line each, to the
// readable log "eventlog/Application.log" of the state folder (orv-scm eventlog
// shows it). lpUNCServerName must be NULL (this machine). Close with
// DeregisterEventSource.
HANDLE WINAPI RegisterEventSourceA(LPCSTR lpUNCServerName, LPCSTR lpSourceName);
BOOL WINAPI ReportEventA(HANDLE hEventLog, WORD wType, WORD wCategory, DWORD dwEventID, PSID lpUserSid,
                         WORD wNumStrings, DWORD dwDataSize, LPCSTR* lpStrings, LPVOID lpRawData);
BOOL WINAPI DeregisterEventSource(HANDLE hEventLog);

// Only FORMAT_MESSAGE_FROM_SYSTEM is served, for the error numbers this platform
// reports; each text ends in "\r\n" as the system's do. With
// FORMAT_MESSAGE_ALLOCATE_BUFFER, lpBuffer is really an LPSTR* that receives
// LocalAlloc memory (release it with LocalFree) and nSize is the least to
// allocate; otherwise the text is copied into lpBuffer of nSize bytes
// (ERROR_INSUFFICIENT_BUFFER when it does not fit). Returns the text's length, or
// 0 with ERROR_MR_MID_NOT_FOUND for a number without a text.
DWORD WINAPI FormatMessageA(DWORD dwFlags, LPCVOID lpSource, DWORD dwMessageId, DWORD dwLanguageId, LPSTR lpBuffer,
                            DWORD nSize, va_list* Arguments);

}  // extern "C"
