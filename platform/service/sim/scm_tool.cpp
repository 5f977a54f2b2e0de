// orv-scm: the machine's side of the service manager from a shell.
//   orv-scm boot              start every automatic service, as a machine start does
//   orv-scm query <name>      print a service's status
//   orv-scm eventlog [source] print the event log (of one source)
#include <cstdio>
#include <cstring>
#include <string>

#include <windows.h>

#include "platform/base/unique_handle.h"
#include "platform/service/sim/boot.h"
#include "platform/service/sim/eventlog.h"

namespace {

const char* StateName(DWORD state) {
  static const char* kNames[] = {"?", "STOPPED", "START_PENDING", "STOP_PENDING", "RUNNING",
                                 "CONTINUE_PENDING", "PAUSE_PENDING", "PAUSED"};
  return state <= 7 ? kNames[state] : "?";
}

int Query(const char* name) {
  orv::unique_schandle manager(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT));
  orv::unique_schandle service(manager ? OpenServiceA(manager.get(), name, SERVICE_QUERY_STATUS) : nullptr);
  SERVICE_STATUS s{};
  if (!service || !QueryServiceStatus(service.get(), &s)) {
    std::printf("%s: error %lu\n", name, static_cast<unsigned long>(GetLastError()));
    return 1;
  }
  std::printf("%s: %s exit %lu check point %lu wait hint %lu\n", name, StateName(s.dwCurrentState),
              static_cast<unsigned long>(s.dwWin32ExitCode), static_cast<unsigned long>(s.dwCheckPoint),
              static_cast<unsigned long>(s.dwWaitHint));
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
