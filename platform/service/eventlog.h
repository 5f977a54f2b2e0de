// The event log: RegisterEventSource/ReportEvent/DeregisterEventSource. Every
// entry goes to syslog under its source name and to the readable log
// $ORV_HOME/eventlog/Application.log, one line per entry:
//   <local time> TAB <source> TAB <type> TAB <category> TAB <event id> TAB <string> [TAB <string>...]
// with tab, line break and backslash in the strings written as \t, \n and \\.
#pragma once
#include <string>
#include <vector>

#include "platform/base/sim/handle_table.h"
#include "platform/service/errors.h"

namespace orv::svc {

constexpr WORD EVENTLOG_SUCCESS = 0x0000;
constexpr WORD EVENTLOG_ERROR_TYPE = 0x0001;
constexpr WORD EVENTLOG_WARNING_TYPE = 0x0002;
constexpr WORD EVENTLOG_INFORMATION_TYPE = 0x0004;

// server must be null (the local machine).
HANDLE RegisterEventSource(const char* server, const char* source);
BOOL ReportEvent(HANDLE eventLog, WORD type, WORD category, DWORD eventId, void* userSid, WORD numStrings,
                 DWORD dataSize, const char** strings, void* rawData);
BOOL DeregisterEventSource(HANDLE eventLog);

struct EventRecord {
  std::string time;
  std::string source;
  std::string type;  // "Error", "Warning", "Information", "Success"
  DWORD category = 0;
  DWORD eventId = 0;
  std::vector<std::string> strings;
};

// The entries of the readable log, oldest first; only those of source when it is not empty.
std::vector<EventRecord> ReadEventLog(const std::string& source = {});
std::string EventLogPath();

}  // namespace orv::svc
