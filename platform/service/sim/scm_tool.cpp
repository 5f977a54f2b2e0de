// orv-scm: the machine's side of the service manager from a shell.
//   orv-scm boot              start every automatic service, as a machine start does
//   orv-scm query <name>      print a service's status and its failure actions
//   orv-scm eventlog [source] print the event log (of one source)
//   orv-scm supervise <name>  the manager's watcher of a service (StartService runs it)
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <windows.h>

#include "platform/base/unique_handle.h"
#include "platform/service/sim/boot.h"
#include "platform/service/sim/eventlog.h"
#include "platform/service/sim/supervise.h"

namespace {

const char* StateName(DWORD state) {
  static const char* kNames[] = {"?", "STOPPED", "START_PENDING", "STOP_PENDING", "RUNNING",
                                 "CONTINUE_PENDING", "PAUSE_PENDING", "PAUSED"};
  return state <= 7 ? kNames[state] : "?";
}

const char* ActionName(SC_ACTION_TYPE type) {
  switch (type) {
    case SC_ACTION_RESTART: return "restart the service";
    case SC_ACTION_REBOOT: return "restart the machine";
    case SC_ACTION_RUN_COMMAND: return "run the command";
    default: return "take no action";
  }
}

// The failure actions, as sc qfailure lists them: the reset period, then one line per failure.
void PrintRecovery(SC_HANDLE service) {
  DWORD needed = 0;
  QueryServiceConfig2A(service, SERVICE_CONFIG_FAILURE_ACTIONS, nullptr, 0, &needed);
  std::vector<BYTE> buffer(needed ? needed : 1);
  if (!QueryServiceConfig2A(service, SERVICE_CONFIG_FAILURE_ACTIONS, buffer.data(), needed, &needed)) return;
  const auto* actions = reinterpret_cast<const SERVICE_FAILURE_ACTIONSA*>(buffer.data());
  if (actions->cActions == 0) std::printf("  on failure: take no action\n");
  if (actions->cActions != 0 && actions->dwResetPeriod == INFINITE) std::printf("  failure count: never reset\n");
  if (actions->cActions != 0 && actions->dwResetPeriod != INFINITE) {
    std::printf("  failure count: reset after %lu s without a failure\n",
                static_cast<unsigned long>(actions->dwResetPeriod));
  }
  for (DWORD i = 0; i < actions->cActions; ++i) {
    const SC_ACTION& a = actions->lpsaActions[i];
    std::printf("  failure %lu: %s", static_cast<unsigned long>(i + 1), ActionName(a.Type));
    if (a.Type != SC_ACTION_NONE) std::printf(" after %lu ms", static_cast<unsigned long>(a.Delay));
    std::printf(i + 1 == actions->cActions ? " (and every later failure)\n" : "\n");
  }
  if (actions->lpCommand) std::printf("  command: %s\n", actions->lpCommand);
}

int Query(const char* name) {
  orv::unique_schandle manager(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT));
  orv::unique_schandle service(
      manager ? OpenServiceA(manager.get(), name, SERVICE_QUERY_STATUS | SERVICE_QUERY_CONFIG) : nullptr);
  SERVICE_STATUS s{};
  if (!service || !QueryServiceStatus(service.get(), &s)) {
    std::printf("%s: error %lu\n", name, static_cast<unsigned long>(GetLastError()));
    return 1;
  }
  std::printf("%s: %s exit %lu check point %lu wait hint %lu\n", name, StateName(s.dwCurrentState),
              static_cast<unsigned long>(s.dwWin32ExitCode), static_cast<unsigned long>(s.dwCheckPoint),
              static_cast<unsigned long>(s.dwWaitHint));
  PrintRecovery(service.get());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::string cmd = argc > 1 ? argv[1] : "";
  if (cmd == "boot") {
    std::string failures;
    int started = orv::svc::StartAutomaticServices(&failures);
    std::printf("%d started\n%s", started, failures.c_str());
    return failures.empty() ? 0 : 1;
  }
  if (cmd == "query" && argc > 2) return Query(argv[2]);
  if (cmd == "supervise" && argc > 2) return orv::svc::Supervise(argv[2]);
  if (cmd == "eventlog") {
    for (const auto& r : orv::svc::ReadEventLog(argc > 2 ? argv[2] : "")) {
      std::printf("%s  %s  %s  category %u  event %u", r.time.c_str(), r.source.c_str(), r.type.c_str(),
                  r.category, r.eventId);
      for (const auto& s : r.strings) std::printf("  | %s", s.c_str());
      std::printf("\n");
    }
    return 0;
  }
  std::fprintf(stderr, "usage: orv-scm boot | query <name> | eventlog [source]\n");
  return 2;
}
