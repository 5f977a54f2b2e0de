// Event-log entries to syslog and to the readable log file, and reading that file.
#include "platform/service/sim/eventlog.h"

#include <fcntl.h>
#include <syslog.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <fstream>
#include <memory>
#include <mutex>
#include <sstream>

#include "platform/base/sim/handle_table.h"
#include "platform/base/sim/unique_fd.h"
#include "platform/home/sim/home.h"

namespace orv::svc {
namespace {

class EventSource : public orv::win::KernelObject {
 public:
  explicit EventSource(std::string source) : source(std::move(source)) {}
  std::string source;
};

std::string Escape(const std::string& s) {
  std::string out;
  for (char c : s) {
    if (c == '\t') out += "\\t";
    else if (c == '\n') out += "\\n";
    else if (c == '\r') out += "\\r";
    else if (c == '\\') out += "\\\\";
    else out += c;
  }
  return out;
}

std::string Unescape(const std::string& s) {
  std::string out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\\' && i + 1 < s.size()) {
      char n = s[++i];
      out += n == 't' ? '\t' : n == 'n' ? '\n' : n == 'r' ? '\r' : n;
    } else {
      out += s[i];
    }
  }
  return out;
}

const char* TypeName(WORD type) {
  switch (type) {
    case EVENTLOG_ERROR_TYPE: return "Error";
    case EVENTLOG_WARNING_TYPE: return "Warning";
    case EVENTLOG_INFORMATION_TYPE: return "Information";
    default: return "Success";
  }
}

int SyslogPriority(WORD type) {
  return type == EVENTLOG_ERROR_TYPE ? LOG_ERR : type == EVENTLOG_WARNING_TYPE ? LOG_WARNING : LOG_INFO;
}

std::mutex g_syslogMutex;  // openlog's identity is process-wide

}  // namespace

std::string EventLogPath() {
  std::string folder = orv::home::Path("eventlog");
  orv::home::MakeDirs(folder, 0755);
  return folder + "/Application.log";
}

std::vector<EventRecord> ReadEventLog(const std::string& source) {
  std::vector<EventRecord> records;
  std::ifstream in(EventLogPath());
  std::string line;
  while (std::getline(in, line)) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
      auto tab = line.find('\t', start);
      fields.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
      if (tab == std::string::npos) break;
      start = tab + 1;
    }
    if (fields.size() < 5) continue;
    EventRecord r;
    r.time = fields[0];
    r.source = Unescape(fields[1]);
    r.type = fields[2];
    r.category = static_cast<DWORD>(std::strtoul(fields[3].c_str(), nullptr, 10));
    r.eventId = static_cast<DWORD>(std::strtoul(fields[4].c_str(), nullptr, 10));
    for (std::size_t i = 5; i < fields.size(); ++i) r.strings.push_back(Unescape(fields[i]));
    if (source.empty() || r.source == source) records.push_back(std::move(r));
  }
  return records;
}

}  // namespace orv::svc

extern "C" HANDLE WINAPI RegisterEventSourceA(LPCSTR server, LPCSTR source) {
  if ((server && *server) || !source || !*source) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return orv::win::RegisterHandle(std::make_shared<orv::svc::EventSource>(source));
}

extern "C" BOOL WINAPI DeregisterEventSource(HANDLE eventLog) {
  if (!orv::win::LookupHandleAs<orv::svc::EventSource>(eventLog)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return CloseHandle(eventLog);
}

extern "C" BOOL WINAPI ReportEventA(HANDLE eventLog, WORD type, WORD category, DWORD eventId, PSID, WORD numStrings,
                                    DWORD, LPCSTR* strings, LPVOID) {
  auto source = orv::win::LookupHandleAs<orv::svc::EventSource>(eventLog);
  if (!source) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (numStrings && !strings) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  char when[32] = {};
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  std::strftime(when, sizeof when, "%Y-%m-%d %H:%M:%S", &local);
  std::ostringstream line;
  std::string joined;
  line << when << '\t' << orv::svc::Escape(source->source) << '\t' << orv::svc::TypeName(type) << '\t' << category << '\t' << eventId;
  for (WORD i = 0; i < numStrings; ++i) {
    std::string s = strings[i] ? strings[i] : "";
    line << '\t' << orv::svc::Escape(s);
    joined += (i ? " " : "") + s;
  }
  line << '\n';
  {
    std::lock_guard<std::mutex> lock(orv::svc::g_syslogMutex);
    openlog(source->source.c_str(), LOG_PID, LOG_USER);
    syslog(orv::svc::SyslogPriority(type), "%s", joined.c_str());
    closelog();
  }
  // One append per entry, so entries of concurrent writers never interleave.
  orv::sim::unique_fd fd(open(orv::svc::EventLogPath().c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644));
  if (!fd) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  std::string text = line.str();
  bool ok = write(fd.get(), text.data(), text.size()) == static_cast<ssize_t>(text.size());
  if (!ok) SetLastError(ERROR_ACCESS_DENIED);
  return ok ? TRUE : FALSE;
}
