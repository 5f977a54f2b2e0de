// The event log's readable file, $ORV_HOME/eventlog/Application.log, which
// ReportEventA writes one line per entry:
//   <local time> TAB <source> TAB <type> TAB <category> TAB <event id> TAB <string> [TAB <string>...]
// with tab, line break and backslash in the strings written as \t, \n and \\.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace orv::svc {

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
