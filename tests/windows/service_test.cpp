// OrvService.exe under wine's service manager: its usage lines, then install
// (which starts it), a command string through \\.\pipe\simple from another
// process as the tray sends it, stop, start again and a call through the
// library's Orv_CallNamePipe from another process, stop and remove.
#include <string>

#include "tests/windows/wine_fixture.h"

namespace orv::test {
namespace {

using WineService = WineTest;

TEST_F(WineService, InstallsServesItsPipeStopsAndRemoves) {
  RunResult usage = wine().Run("OrvService.exe", {});
  EXPECT_NE(Lines(usage.out).find("Orv Calvex -install          to install the service\n"
                                  "Orv Calvex -start          to start the service\n"
                                  "Orv Calvex -stop          to stop the service\n"
                                  "Orv Calvex -remove           to remove the service\n"
                                  "Orv Calvex -debug <params>   to run as a console app for debugging\n"),
            std::string::npos)
      << usage.out;

  RunResult install = wine().Run("OrvService.exe", {"-install"});
  ASSERT_EQ(Lines(install.out), "Orv Calvex installed.\nOrv Calvex started.\n") << install.err;
  ASSERT_TRUE(WaitFor([&] { return ServiceState(wine()).find("RUNNING") != std::string::npos; },
                      std::chrono::seconds(60)))
      << ServiceState(wine());

  // A whole exchange from a second process: 80 bytes out, the 180-byte reply back.
  RunResult call = wine().Run("pipe_call.exe", {"root\\CIMV2:Q:Win32_BIOS:Manufacturer:0"});
  EXPECT_EQ(Lines(call.out), "read 180: The Wine Project\n") << call.err;
  call = wine().Run("pipe_call.exe", {"root\\CIMV2:X:Win32_BIOS:Manufacturer:0"});
  EXPECT_EQ(Lines(call.out), "read 180: Please input correct parameter !\n") << call.err;
  // The service sets only the firmware's own classes.
  call = wine().Run("pipe_call.exe", {"root\\CIMV2:S:Win32_BIOS:Manufacturer:0:1"});
  EXPECT_EQ(Lines(call.out), "read 180: WBEM_E_ACCESS_DENIED\n") << call.err;

  RunResult stop = wine().Run("OrvService.exe", {"-stop"});
  EXPECT_EQ(Lines(stop.out).rfind("Stopping Orv Calvex.", 0), 0u) << stop.out;
  EXPECT_NE(Lines(stop.out).find("\nOrv Calvex stopped.\n"), std::string::npos) << stop.out;
  EXPECT_NE(ServiceState(wine()).find("STOPPED"), std::string::npos);
  // With nobody serving the pipe the call fails.
  EXPECT_EQ(Lines(wine().Run("pipe_call.exe", {"root\\WMI:Q:Orv_Device:Device:0"}).out).rfind("failed ", 0), 0u);

  // Started again, it serves again: now through the library's Orv_CallNamePipe in
  // another process, as the tray calls it.
  RunResult start = wine().Run("OrvService.exe", {"-start"});
  ASSERT_EQ(Lines(start.out), "Orv Calvex started.\n") << start.out << start.err;
  ASSERT_TRUE(WaitFor([&] { return ServiceState(wine()).find("RUNNING") != std::string::npos; },
                      std::chrono::seconds(60)))
      << ServiceState(wine());
  RunResult viaLibrary = wine().Run("orvcmd.exe", {"--pipe", "root\\CIMV2:Q:Win32_BIOS:Manufacturer:0"});
  EXPECT_EQ(viaLibrary.exitCode, 0) << viaLibrary.err;
  EXPECT_EQ(Lines(viaLibrary.out), "The Wine Project\n") << viaLibrary.err;
  stop = wine().Run("OrvService.exe", {"-stop"});
  EXPECT_NE(Lines(stop.out).find("\nOrv Calvex stopped.\n"), std::string::npos) << stop.out;

  RunResult remove = wine().Run("OrvService.exe", {"-remove"});
  EXPECT_EQ(Lines(remove.out), "Orv Calvex removed.\n") << remove.out;
  EXPECT_EQ(ServiceState(wine()).find("Orv Calvex"), std::string::npos);
}

}  // namespace
}  // namespace orv::test
