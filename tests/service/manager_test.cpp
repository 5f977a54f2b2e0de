// The service control manager's failures, message texts and event log, without
// a service program.
#include <gtest/gtest.h>

#include <cstring>

#include <windows.h>

#include "platform/service/sim/eventlog.h"
#include "tests/support/process.h"

namespace orv::svc {
namespace {

TEST(Manager, FailuresCarryTheirWin32Numbers) {
  orv::test::TempHome home;
  SC_HANDLE scm = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
  ASSERT_NE(scm, nullptr);
  EXPECT_EQ(OpenServiceA(scm, "absent", SERVICE_ALL_ACCESS), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SERVICE_DOES_NOT_EXIST));
  auto create = [&](const char* name, const char* path) {
    return CreateServiceA(scm, name, name, SERVICE_ALL_ACCESS, SERVICE_WIN32_OWN_PROCESS, SERVICE_DEMAND_START,
                         SERVICE_ERROR_NORMAL, path, nullptr, nullptr, "", nullptr, nullptr);
  };
  SC_HANDLE missing = create("Missing", "/nonexistent/program");
  ASSERT_NE(missing, nullptr);
  EXPECT_EQ(create("MISSING", "/bin/true"), nullptr) << "names ignore case";
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SERVICE_EXISTS));
  EXPECT_FALSE(StartServiceA(missing, 0, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  // A program that never calls the dispatcher does not count as started.
  SC_HANDLE notService = create("Plain", "/bin/true");
  EXPECT_FALSE(StartServiceA(notService, 0, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SERVICE_REQUEST_TIMEOUT));
  SERVICE_STATUS s{};
  EXPECT_FALSE(ControlService(notService, SERVICE_CONTROL_STOP, &s));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SERVICE_NOT_ACTIVE));
  EXPECT_TRUE(QueryServiceStatus(notService, &s));
  EXPECT_EQ(s.dwCurrentState, SERVICE_STOPPED);
  // Handles carry the access they were opened with.
  SC_HANDLE queryOnly = OpenServiceA(scm, "plain", SERVICE_QUERY_STATUS);
  EXPECT_FALSE(DeleteService(queryOnly));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_FALSE(StartServiceA(queryOnly, 0, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  // A stopped service goes at once.
  EXPECT_TRUE(DeleteService(notService));
  EXPECT_FALSE(QueryServiceStatus(queryOnly, &s));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SERVICE_DOES_NOT_EXIST));
  EXPECT_FALSE(StartServiceCtrlDispatcherA(nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FAILED_SERVICE_CONTROLLER_CONNECT));
  EXPECT_EQ(RegisterServiceCtrlHandlerA("Plain", nullptr), nullptr);
  for (SC_HANDLE h : {queryOnly, notService, missing, scm}) EXPECT_TRUE(CloseServiceHandle(h));
  EXPECT_FALSE(CloseServiceHandle(scm));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST(Manager, MessageTextsAndEventLogEntries) {
  char* text = nullptr;
  DWORD n = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM, nullptr, 1073, LANG_NEUTRAL,
                           reinterpret_cast<char*>(&text), 0, nullptr);
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(std::string(text), "The specified service already exists.\r\n");
  EXPECT_EQ(n, std::strlen(text));
  LocalFree(text);
  char small[10];
  EXPECT_EQ(FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, 5, LANG_NEUTRAL, small, sizeof small, nullptr), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_EQ(FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, 4242, LANG_NEUTRAL, small, sizeof small, nullptr), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MR_MID_NOT_FOUND));

  orv::test::TempHome home;
  HANDLE source = RegisterEventSourceA(nullptr, "Tester");
  ASSERT_NE(source, nullptr);
  LPCSTR strings[2] = {"line one\nline two", "tab\there \\ back"};
  EXPECT_TRUE(ReportEventA(source, EVENTLOG_ERROR_TYPE, 3, 7, nullptr, 2, 0, strings, nullptr));
  EXPECT_TRUE(DeregisterEventSource(source));
  EXPECT_FALSE(ReportEventA(source, EVENTLOG_ERROR_TYPE, 0, 0, nullptr, 0, 0, nullptr, nullptr));
  auto log = ReadEventLog("Tester");
  ASSERT_EQ(log.size(), 1u);
  EXPECT_EQ(log[0].type, "Error");
  EXPECT_EQ(log[0].category, 3u);
  EXPECT_EQ(log[0].eventId, 7u);
  EXPECT_EQ(log[0].strings, (std::vector<std::string>{strings[0], strings[1]}));
  EXPECT_TRUE(ReadEventLog("Other").empty());
  auto shown = orv::test::Run({orv::test::Program("orv-scm"), "eventlog"}).out;
  EXPECT_NE(shown.find("Tester  Error  category 3  event 7  | line one\nline two  | tab\there \\ back"),
            std::string::npos)
      << shown;
}

}  // namespace
}  // namespace orv::svc
