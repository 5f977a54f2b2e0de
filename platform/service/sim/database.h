// The service database on disk: each service's folder with its "config" (the
// installed record), "status" (the last reported status and the process that
// reported it), "deleted" (the deletion mark), "start-args", "recovery" (the
// failure actions), "failures" (the failure count) and the control socket.
#pragma once
#include <string>
#include <vector>

#include <windows.h>

namespace orv::svc::db {

struct Config {
  std::string name;
  std::string displayName;
  DWORD serviceType = SERVICE_WIN32_OWN_PROCESS;
  DWORD startType = SERVICE_DEMAND_START;
  DWORD errorControl = SERVICE_ERROR_NORMAL;
  std::string binaryPath;
};

struct Status {
  SERVICE_STATUS status{SERVICE_WIN32_OWN_PROCESS, SERVICE_STOPPED, 0, 0, 0, 0, 0};
  int pid = 0;
  unsigned long long startTime = 0;  // the process's start time, so a reused pid is not mistaken for it
};

std::string Root();                                 // $ORV_HOME/services
std::string Folder(const std::string& name);        // the service's folder
std::string ControlSocket(const std::string& name);

bool ReadConfig(const std::string& name, Config* config);
bool WriteConfig(const Config& config);
std::vector<std::string> AllServices();  // the names of every installed service

bool MarkedForDelete(const std::string& name);
bool MarkForDelete(const std::string& name);
void Remove(const std::string& name);

// The status record as the service's process last wrote it.
Status ReadRecord(const std::string& name);
// The status as the manager sees it: a service whose process is gone reads as
// stopped (exit code ERROR_PROCESS_ABORTED when it did not report the stop itself),
// and a service marked for deletion is removed once it is seen stopped.
Status ReadStatus(const std::string& name);
bool WriteStatus(const std::string& name, const Status& status);

// The calling process's identity as WriteStatus records it.
int SelfPid();
unsigned long long StartTimeOf(int pid);  // 0 when there is no such process

// What the manager does when the service's process ends without reporting the
// stop (SERVICE_FAILURE_ACTIONSA without its pointers): none when never set.
struct FailureActions {
  DWORD resetPeriod = 0;  // seconds without a failure after which the count starts again; INFINITE: never
  std::string rebootMessage, command;
  std::vector<SC_ACTION> actions;
};
bool ReadFailureActions(const std::string& name, FailureActions* actions);
bool WriteFailureActions(const std::string& name, const FailureActions& actions);

// The failures counted since the count last started again, and when the last one was.
struct Failures {
  DWORD count = 0;
  long long lastTime = 0;  // seconds since the epoch
};
Failures ReadFailures(const std::string& name);
bool WriteFailures(const std::string& name, const Failures& failures);

bool WriteStartArgs(const std::string& name, DWORD argc, const char** argv);
std::vector<std::string> ReadStartArgs(const std::string& name);

}  // namespace orv::svc::db
