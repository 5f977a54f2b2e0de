// The service manager's failure actions: what OrvService -install sets, how the
// calls keep them, and the manager restarting a killed service as they say,
// counting failures and starting the count again after the reset period.
#include <gtest/gtest.h>
#include <signal.h>

#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "platform/base/unique_handle.h"
#include "platform/service/sim/eventlog.h"
#include "tests/service/service_fixture.h"

namespace orv::test {
namespace {

constexpr char kName[] = "Orv Calvex";

orv::unique_schandle OpenOrv(DWORD access) {
  orv::unique_schandle manager(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT));
  return orv::unique_schandle(OpenServiceA(manager.get(), kName, access));
}

struct Actions {
  DWORD resetPeriod = 0;
  std::vector<SC_ACTION> list;
  std::string reboot, command;  // "<none>" when the text is not set
};

Actions Query(SC_HANDLE service) {
  DWORD needed = 0;
  EXPECT_FALSE(QueryServiceConfig2A(service, SERVICE_CONFIG_FAILURE_ACTIONS, nullptr, 0, &needed));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  std::vector<BYTE> buffer(needed);
  Actions out;
  if (!QueryServiceConfig2A(service, SERVICE_CONFIG_FAILURE_ACTIONS, buffer.data(), needed, &needed)) {
    ADD_FAILURE() << "QueryServiceConfig2A failed with " << GetLastError();
    return out;
  }
  const auto* a = reinterpret_cast<const SERVICE_FAILURE_ACTIONSA*>(buffer.data());
  out.resetPeriod = a->dwResetPeriod;
  out.list.assign(a->lpsaActions, a->lpsaActions + a->cActions);
  out.reboot = a->lpRebootMsg ? a->lpRebootMsg : "<none>";
  out.command = a->lpCommand ? a->lpCommand : "<none>";
  return out;
}

bool Set(SC_HANDLE service, DWORD resetPeriod, std::vector<SC_ACTION> list) {
  SERVICE_FAILURE_ACTIONSA a{};
  a.dwResetPeriod = resetPeriod;
  a.cActions = static_cast<DWORD>(list.size());
  a.lpsaActions = list.data();
  return ChangeServiceConfig2A(service, SERVICE_CONFIG_FAILURE_ACTIONS, &a);
}

// Changes only the texts, and reads back what is kept.
Actions ChangeTexts(SC_HANDLE service, char* reboot, char* command) {
  SERVICE_FAILURE_ACTIONSA texts{};
  texts.lpRebootMsg = reboot;
  texts.lpCommand = command;
  EXPECT_TRUE(ChangeServiceConfig2A(service, SERVICE_CONFIG_FAILURE_ACTIONS, &texts));
  return Query(service);
}

std::vector<std::string> ManagerEntries() {
  std::vector<std::string> texts;
  for (const auto& r : svc::ReadEventLog("Service Control Manager")) {
    texts.push_back(std::to_string(r.eventId) + " " + (r.strings.empty() ? "" : r.strings[0]));
  }
  return texts;
}

class Recovery : public Service {
 protected:
  static int Pid() { return svc::db::ReadStatus(kName).pid; }
  // Kills the running service and waits for the manager's entry about it.
  static void Kill(std::size_t entriesBefore) {
    int pid = Pid();
    ASSERT_GT(pid, 0);
    kill(pid, SIGKILL);
    ASSERT_TRUE(WaitFor([&] { return ManagerEntries().size() > entriesBefore; }));
  }
  static bool WaitRestarted(int oldPid) {
    // State and process from one reading, so a record judged stopped between
    // them cannot pass for the restarted run.
    return WaitFor([oldPid] {
      const svc::db::Status now = svc::db::ReadStatus(kName);
      return now.status.dwCurrentState == SERVICE_RUNNING && now.pid > 0 && now.pid != oldPid;
    });
  }
};

TEST_F(Recovery, InstallHasTheManagerRestartTheServiceAfterEveryFailure) {
  EXPECT_EQ(Svc("-install"), "Orv Calvex installed.\nOrv Calvex started.\n");
  ASSERT_TRUE(WaitRunning());
  Actions set = Query(OpenOrv(SERVICE_QUERY_CONFIG).get());
  EXPECT_EQ(set.resetPeriod, 86400u);
  ASSERT_EQ(set.list.size(), 1u);
  EXPECT_EQ(set.list[0].Type, SC_ACTION_RESTART);
  EXPECT_EQ(set.list[0].Delay, 1000u);
  EXPECT_EQ(orv::test::Run({Program("orv-scm"), "query", kName}).out,
            "Orv Calvex: RUNNING exit 0 check point 0 wait hint 1000\n"
            "  failure count: reset after 86400 s without a failure\n"
            "  failure 1: restart the service after 1000 ms (and every later failure)\n");

  for (int failure = 1; failure <= 2; ++failure) {
    int pid = Pid();
    Kill(ManagerEntries().size());
    EXPECT_EQ(ManagerEntries().back(), "7031 The Orv Calvex service terminated unexpectedly.  It has done this " +
                                           std::to_string(failure) +
                                           " time(s).  The following corrective action will be taken in 1000 "
                                           "milliseconds: Restart the service.");
    ASSERT_TRUE(WaitRestarted(pid));
    EXPECT_EQ(Ask(kDevice), Direct(kDevice));
  }
  // A stop the service reports itself is no failure: it stays stopped.
  EXPECT_EQ(Svc("-stop"), "Stopping Orv Calvex.\nOrv Calvex stopped.\n");
  EXPECT_EQ(svc::db::ReadStatus(kName).status.dwWin32ExitCode, 0u);
  EXPECT_EQ(ManagerEntries().size(), 2u);
}

TEST_F(Recovery, TheNthFailureTakesTheNthActionAndTheCountStartsAgainAfterTheResetPeriod) {
  ASSERT_EQ(Svc("-install"), "Orv Calvex installed.\nOrv Calvex started.\n");
  ASSERT_TRUE(WaitRunning());
  auto service = OpenOrv(SERVICE_ALL_ACCESS);
  ASSERT_TRUE(Set(service.get(), INFINITE, {{SC_ACTION_RESTART, 0}, {SC_ACTION_NONE, 0}}));
  int pid = Pid();
  Kill(0);
  ASSERT_TRUE(WaitRestarted(pid));
  Kill(1);
  EXPECT_EQ(ManagerEntries().back(),
            "7034 The Orv Calvex service terminated unexpectedly.  It has done this 2 time(s).");
  EXPECT_EQ(State(), SERVICE_STOPPED);
  EXPECT_EQ(svc::db::ReadStatus(kName).status.dwWin32ExitCode, static_cast<DWORD>(ERROR_PROCESS_ABORTED));

  // Started by hand; with a reset period, a failure after a quiet period counts as the first again.
  ASSERT_TRUE(Set(service.get(), 1, {{SC_ACTION_RESTART, 0}, {SC_ACTION_NONE, 0}}));
  ASSERT_EQ(Svc("-start"), "Orv Calvex started.\n");
  ASSERT_TRUE(WaitRunning());
  const long long lastFailure = svc::db::ReadFailures(kName).lastTime;
  ASSERT_TRUE(WaitFor([&] { return std::time(nullptr) - lastFailure >= 1; }));
  pid = Pid();
  Kill(2);
  EXPECT_EQ(ManagerEntries().back().rfind("7031 The Orv Calvex service terminated unexpectedly.  It has done this 1 time(s).", 0),
            0u) << ManagerEntries().back();
  ASSERT_TRUE(WaitRestarted(pid));
}

TEST_F(Recovery, FailureActionsAreChangedAndReadAsTheCallsSay) {
  ASSERT_EQ(Svc("-install"), "Orv Calvex installed.\nOrv Calvex started.\n");
  ASSERT_TRUE(WaitRunning());
  auto all = OpenOrv(SERVICE_ALL_ACCESS);
  auto noStart = OpenOrv(SERVICE_CHANGE_CONFIG | SERVICE_QUERY_CONFIG);
  auto queryOnly = OpenOrv(SERVICE_QUERY_CONFIG);

  // Restarting needs the right to start; changing anything the right to change.
  EXPECT_FALSE(Set(noStart.get(), 60, {{SC_ACTION_RESTART, 5}}));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_TRUE(Set(noStart.get(), 60, {{SC_ACTION_NONE, 0}, {SC_ACTION_REBOOT, 7}}));
  EXPECT_FALSE(Set(queryOnly.get(), 60, {{SC_ACTION_NONE, 0}}));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  SC_ACTION unknown{};
  const DWORD nine = 9;  // as a caller in C may store it
  std::memcpy(&unknown.Type, &nine, sizeof nine);
  EXPECT_FALSE(Set(all.get(), 60, {unknown}));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  SERVICE_FAILURE_ACTIONSA any{};
  EXPECT_FALSE(ChangeServiceConfig2A(all.get(), SERVICE_CONFIG_DESCRIPTION, &any));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_LEVEL));
  Actions kept = Query(queryOnly.get());
  EXPECT_EQ(kept.resetPeriod, 60u);
  ASSERT_EQ(kept.list.size(), 2u);
  EXPECT_EQ(kept.list[1].Type, SC_ACTION_REBOOT);
  EXPECT_EQ(kept.list[1].Delay, 7u);

  // Texts: NULL keeps them, "" deletes them; no actions list keeps the actions.
  char reboot[] = "going down", command[] = "notify.cmd", none[] = "";
  kept = ChangeTexts(all.get(), reboot, command);
  EXPECT_EQ(kept.reboot, "going down");
  EXPECT_EQ(kept.command, "notify.cmd");
  EXPECT_EQ(kept.list.size(), 2u);
  kept = ChangeTexts(all.get(), none, nullptr);
  EXPECT_EQ(kept.reboot, "<none>");
  EXPECT_EQ(kept.command, "notify.cmd");

  // An empty list that is not NULL deletes the actions and the reset period.
  SC_ACTION unused{};
  SERVICE_FAILURE_ACTIONSA clear{};
  clear.dwResetPeriod = 99;
  clear.lpsaActions = &unused;
  ASSERT_TRUE(ChangeServiceConfig2A(all.get(), SERVICE_CONFIG_FAILURE_ACTIONS, &clear));
  kept = Query(queryOnly.get());
  EXPECT_EQ(kept.resetPeriod, 0u);
  EXPECT_TRUE(kept.list.empty());
  EXPECT_EQ(orv::test::Run({Program("orv-scm"), "query", kName}).out,
            "Orv Calvex: RUNNING exit 0 check point 0 wait hint 1000\n  on failure: take no action\n  command: notify.cmd\n");
}

}  // namespace
}  // namespace orv::test
