// The dispatcher inside a service process: the status record, the control
// channel served on the dispatcher's thread, and the service main's thread.
#include <windows.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <strings.h>
#include <thread>
#include <vector>

#include "platform/base/sim/unique_fd.h"
#include "platform/service/sim/control.h"
#include "platform/service/sim/database.h"
#include "platform/service/sim/launch.h"

namespace {

namespace db = orv::svc::db;
namespace control = orv::svc::control;
using orv::svc::kReadyByte;
using orv::svc::kReadyFdEnv;
using orv::svc::kServiceEnv;

constexpr int kControlReadTimeoutMs = 1000;

struct Dispatcher {
  std::string name;
  std::mutex mutex;
  LPHANDLER_FUNCTION handler = nullptr;
  db::Status record;
};

std::mutex g_dispatcherMutex;
Dispatcher* g_dispatcher = nullptr;  // while StartServiceCtrlDispatcher runs

Dispatcher* Current() {
  std::lock_guard<std::mutex> lock(g_dispatcherMutex);
  return g_dispatcher;
}

bool Record(Dispatcher* d, const SERVICE_STATUS& status) {
  std::lock_guard<std::mutex> lock(d->mutex);
  d->record.status = status;
  return db::WriteStatus(d->name, d->record);
}

DWORD Check(const SERVICE_STATUS& s, DWORD code) {
  if (s.dwCurrentState == SERVICE_STOPPED) return ERROR_SERVICE_NOT_ACTIVE;
  if (code == SERVICE_CONTROL_INTERROGATE || (code >= 128 && code <= 255)) return ERROR_SUCCESS;
  DWORD needed = code == SERVICE_CONTROL_STOP ? SERVICE_ACCEPT_STOP
                 : (code == SERVICE_CONTROL_PAUSE || code == SERVICE_CONTROL_CONTINUE) ? SERVICE_ACCEPT_PAUSE_CONTINUE
                                                                                        : 0;
  if (needed && (s.dwControlsAccepted & needed)) return ERROR_SUCCESS;
  if (s.dwCurrentState == SERVICE_START_PENDING || s.dwCurrentState == SERVICE_STOP_PENDING) {
    return ERROR_SERVICE_CANNOT_ACCEPT_CTRL;
  }
  return ERROR_INVALID_SERVICE_CONTROL;
}

// One control from one connection: check it against the status, hand it to the
// handler on this thread and reply with the status afterwards.
void ServeControl(Dispatcher* d, int fd) {
  pollfd p{fd, POLLIN, 0};
  DWORD code = 0;
  if (poll(&p, 1, kControlReadTimeoutMs) <= 0 || recv(fd, &code, sizeof code, 0) != sizeof code) return;
  SERVICE_STATUS before;
  LPHANDLER_FUNCTION handler;
  {
    std::lock_guard<std::mutex> lock(d->mutex);
    before = d->record.status;
    handler = d->handler;
  }
  control::Reply reply{Check(before, code), before};
  if (reply.error == ERROR_SUCCESS && handler) handler(code);
  {
    std::lock_guard<std::mutex> lock(d->mutex);
    reply.status = d->record.status;
  }
  send(fd, &reply, sizeof reply, MSG_NOSIGNAL);
}

BOOL Fail(DWORD err) {
  SetLastError(err);
  return FALSE;
}

}  // namespace

extern "C" BOOL WINAPI StartServiceCtrlDispatcherA(const SERVICE_TABLE_ENTRYA* table) {
  const char* envName = std::getenv(kServiceEnv);
  const char* envFd = std::getenv(kReadyFdEnv);
  if (!envName || !envFd || !table) return Fail(ERROR_FAILED_SERVICE_CONTROLLER_CONNECT);
  std::string name = envName;
  orv::sim::unique_fd readyFd(std::atoi(envFd));
  unsetenv(kServiceEnv);  // not for the service's own children
  unsetenv(kReadyFdEnv);
  fcntl(readyFd.get(), F_SETFD, FD_CLOEXEC);
  const SERVICE_TABLE_ENTRYA* entry = table;
  while (entry->lpServiceName && strcasecmp(entry->lpServiceName, name.c_str()) != 0) ++entry;
  if (!entry->lpServiceName || !entry->lpServiceProc) return Fail(ERROR_SERVICE_NOT_IN_EXE);
  Dispatcher d;
  d.name = name;
  d.record.pid = db::SelfPid();
  d.record.startTime = db::StartTimeOf(d.record.pid);
  d.record.status = SERVICE_STATUS{SERVICE_WIN32_OWN_PROCESS, SERVICE_START_PENDING, 0, 0, 0, 0, 2000};
  orv::sim::unique_fd listenFd = control::Listen(db::ControlSocket(name));
  orv::sim::unique_fd doneFd(eventfd(0, EFD_CLOEXEC));
  if (!listenFd || !doneFd || !db::WriteStatus(name, d.record)) {
    DWORD err = GetLastError();
    return Fail(err ? err : ERROR_FAILED_SERVICE_CONTROLLER_CONNECT);
  }
  {
    std::lock_guard<std::mutex> lock(g_dispatcherMutex);
    g_dispatcher = &d;
  }
  [[maybe_unused]] ssize_t w = write(readyFd.get(), &kReadyByte, 1);
  readyFd.reset();

  std::vector<std::string> args{entry->lpServiceName};
  for (auto& a : db::ReadStartArgs(name)) args.push_back(a);
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  LPSERVICE_MAIN_FUNCTIONA main = entry->lpServiceProc;
  std::thread serviceThread([&] {
    main(static_cast<DWORD>(args.size()), argv.data());
    std::uint64_t one = 1;
    [[maybe_unused]] ssize_t n = write(doneFd.get(), &one, sizeof one);
  });
  for (;;) {
    pollfd fds[2] = {{listenFd.get(), POLLIN, 0}, {doneFd.get(), POLLIN, 0}};
    if (poll(fds, 2, -1) < 0) continue;
    if (fds[1].revents & POLLIN) break;
    if (fds[0].revents & POLLIN) {
      orv::sim::unique_fd fd(accept4(listenFd.get(), nullptr, nullptr, SOCK_CLOEXEC));
      if (fd) ServeControl(&d, fd.get());
    }
  }
  serviceThread.join();
  listenFd.reset();
  doneFd.reset();
  unlink(db::ControlSocket(name).c_str());
  {
    std::lock_guard<std::mutex> lock(d.mutex);
    if (d.record.status.dwCurrentState != SERVICE_STOPPED) {
      // The main function returned without saying so: the service has stopped all the same.
      d.record.status.dwCurrentState = SERVICE_STOPPED;
      d.record.status.dwControlsAccepted = 0;
      d.record.status.dwCheckPoint = 0;
      d.record.status.dwWaitHint = 0;
      db::WriteStatus(name, d.record);
    }
  }
  {
    std::lock_guard<std::mutex> lock(g_dispatcherMutex);
    g_dispatcher = nullptr;
  }
  // A service marked for deletion goes when the manager next looks at it, so the
  // caller waiting for the stop still sees it stopped.
  return TRUE;
}

extern "C" SERVICE_STATUS_HANDLE WINAPI RegisterServiceCtrlHandlerA(LPCSTR name, LPHANDLER_FUNCTION handler) {
  Dispatcher* d = Current();
  if (!d) {
    SetLastError(ERROR_FAILED_SERVICE_CONTROLLER_CONNECT);
    return nullptr;
  }
  if (!name || strcasecmp(name, d->name.c_str()) != 0) {
    SetLastError(ERROR_SERVICE_NOT_IN_EXE);
    return nullptr;
  }
  std::lock_guard<std::mutex> lock(d->mutex);
  d->handler = handler;
  return reinterpret_cast<SERVICE_STATUS_HANDLE>(d);
}

extern "C" BOOL WINAPI SetServiceStatus(SERVICE_STATUS_HANDLE handle, LPSERVICE_STATUS status) {
  Dispatcher* d = Current();
  if (!d || handle != reinterpret_cast<SERVICE_STATUS_HANDLE>(d)) return Fail(ERROR_INVALID_HANDLE);
  if (!status || status->dwCurrentState < SERVICE_STOPPED || status->dwCurrentState > SERVICE_PAUSED) {
    return Fail(ERROR_INVALID_DATA);
  }
  return Record(d, *status) ? TRUE : Fail(ERROR_ACCESS_DENIED);
}

