// OrvService: the options install, remove, debug, start and stop, or, without
// one, the service itself under the service control manager.
#include <windows.h>

#include <cstdio>

#include "service/commands.h"
#include "service/service_status.h"

int main(int argc, char** argv) {
  using namespace orv::service;
  char serviceName[] = SZSERVICENAME;
  const SERVICE_TABLE_ENTRYA dispatchTable[] = {{serviceName, service_main}, {nullptr, nullptr}};
  if (argc > 1 && (argv[1][0] == '-' || argv[1][0] == '/')) {
    const char* option = argv[1] + 1;
    if (lstrcmpiA(option, "install") == 0) {
      CmdInstallService();
      return 0;
    }
    if (lstrcmpiA(option, "remove") == 0) {
      CmdRemoveService();
      return 0;
    }
    if (lstrcmpiA(option, "debug") == 0) {
      SetDebugMode(true);
      CmdDebugService(argc, argv);
      return 0;
    }
    if (lstrcmpiA(option, "start") == 0) {
      CmdStartService();
      return 0;
    }
    if (lstrcmpiA(option, "stop") == 0) {
      CmdStopService();
      return 0;
    }
  }
  std::printf("%s -install          to install the service\n", SZSERVICENAME);
  std::printf("%s -start          to start the service\n", SZSERVICENAME);
  std::printf("%s -stop          to stop the service\n", SZSERVICENAME);
  std::printf("%s -remove           to remove the service\n", SZSERVICENAME);
  std::printf("%s -debug <params>   to run as a console app for debugging\n", SZSERVICENAME);
  std::printf("\nStartServiceCtrlDispatcher being called.\n");
  std::printf("This may take several seconds.  Please wait.\n");
  std::fflush(stdout);
  if (!StartServiceCtrlDispatcherA(dispatchTable)) AddToMessageLog("StartServiceCtrlDispatcher failed.");
  return 0;
}
