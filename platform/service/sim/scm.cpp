// The manager's calls on the service database: open, create, delete, start,
// control and query.
#include <windows.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <memory>
#include <string>
#include <strings.h>

#include "platform/base/sim/handle_table.h"
#include "platform/base/sim/unique_fd.h"
#include "platform/service/sim/boot.h"
#include "platform/service/sim/control.h"
#include "platform/service/sim/database.h"
#include "platform/service/sim/launch.h"
#include "platform/service/sim/sc_handle.h"

namespace {

namespace db = orv::svc::db;
namespace control = orv::svc::control;
using orv::win::LookupHandleAs;
using orv::svc::NewScHandle;
using orv::svc::ScObject;

using orv::svc::LookupSc;

bool Active(const db::Status& s) { return s.status.dwCurrentState != SERVICE_STOPPED; }

// Serialises starts of one service across processes.
class StartLock {
 public:
  explicit StartLock(const std::string& name)
      : fd_(open((db::Folder(name) + "/start.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600)) {
    if (fd_) flock(fd_.get(), LOCK_EX);
  }

 private:
  orv::sim::unique_fd fd_;  // closing it lets go of the lock
};

BOOL Fail(DWORD err) {
  SetLastError(err);
  return FALSE;
}

}  // namespace

extern "C" SC_HANDLE WINAPI OpenSCManagerA(LPCSTR machine, LPCSTR database, DWORD access) {
  if ((machine && *machine) || (database && *database)) {
    SetLastError(ERROR_INVALID_NAME);
    return nullptr;
  }
  db::Root();
  return NewScHandle(std::string(), access);
}

extern "C" SC_HANDLE WINAPI CreateServiceA(SC_HANDLE manager, LPCSTR name, LPCSTR displayName, DWORD access,
                                          DWORD serviceType, DWORD startType, DWORD errorControl, LPCSTR binaryPath,
                                          LPCSTR, LPDWORD, LPCSTR, LPCSTR, LPCSTR) {
  if (!LookupSc(manager, true, SC_MANAGER_CREATE_SERVICE)) return nullptr;
  if (!name || !*name || std::string(name).size() > 256 || !binaryPath || !*binaryPath ||
      serviceType != SERVICE_WIN32_OWN_PROCESS || startType < SERVICE_AUTO_START || startType > SERVICE_DISABLED) {
    SetLastError(!name || !*name ? ERROR_INVALID_NAME : ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  std::string display = displayName && *displayName ? displayName : name;
  db::Config existing;
  if (db::ReadConfig(name, &existing)) {
    SetLastError(db::MarkedForDelete(name) ? ERROR_SERVICE_MARKED_FOR_DELETE : ERROR_SERVICE_EXISTS);
    return nullptr;
  }
  for (const auto& other : db::AllServices()) {
    db::Config c;
    if (db::ReadConfig(other, &c) && (strcasecmp(c.displayName.c_str(), display.c_str()) == 0 ||
                                      strcasecmp(c.name.c_str(), display.c_str()) == 0)) {
      SetLastError(ERROR_DUPLICATE_SERVICE_NAME);
      return nullptr;
    }
  }
  db::Config config{name, display, serviceType, startType, errorControl, binaryPath};
  if (!db::WriteConfig(config)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  db::WriteStatus(name, db::Status{});
  return NewScHandle(name, access);
}

extern "C" SC_HANDLE WINAPI OpenServiceA(SC_HANDLE manager, LPCSTR name, DWORD access) {
  if (!LookupSc(manager, true, SC_MANAGER_CONNECT)) return nullptr;
  db::Config config;
  if (!name || !*name || !db::ReadConfig(name, &config)) {
    SetLastError(name && *name ? ERROR_SERVICE_DOES_NOT_EXIST : ERROR_INVALID_NAME);
    return nullptr;
  }
  return NewScHandle(config.name, access);
}

extern "C" BOOL WINAPI CloseServiceHandle(SC_HANDLE handle) {
  if (!LookupHandleAs<ScObject>(handle)) return Fail(ERROR_INVALID_HANDLE);
  return CloseHandle(handle);
}

extern "C" BOOL WINAPI DeleteService(SC_HANDLE service) {
  auto s = LookupSc(service, false, DELETE);
  if (!s) return FALSE;
  db::Config config;
  if (!db::ReadConfig(s->name, &config)) return Fail(ERROR_SERVICE_DOES_NOT_EXIST);
  if (db::MarkedForDelete(s->name)) return Fail(ERROR_SERVICE_MARKED_FOR_DELETE);
  if (!db::MarkForDelete(s->name)) return Fail(ERROR_ACCESS_DENIED);
  db::ReadStatus(s->name);  // removes it at once when it is not running
  return TRUE;
}

extern "C" BOOL WINAPI StartServiceA(SC_HANDLE service, DWORD argc, LPCSTR* argv) {
  auto s = LookupSc(service, false, SERVICE_START);
  if (!s) return FALSE;
  db::Config config;
  if (!db::ReadConfig(s->name, &config)) return Fail(ERROR_SERVICE_DOES_NOT_EXIST);
  if (db::MarkedForDelete(s->name)) return Fail(ERROR_SERVICE_MARKED_FOR_DELETE);
  if (config.startType == SERVICE_DISABLED) return Fail(ERROR_SERVICE_DISABLED);
  StartLock lock(s->name);
  if (Active(db::ReadStatus(s->name))) return Fail(ERROR_SERVICE_ALREADY_RUNNING);
  if (!db::WriteStartArgs(s->name, argc, argv)) return Fail(ERROR_INVALID_PARAMETER);
  DWORD err = orv::svc::LaunchService(config);
  return err == ERROR_SUCCESS ? TRUE : Fail(err);
}

extern "C" BOOL WINAPI ControlService(SC_HANDLE service, DWORD control, LPSERVICE_STATUS status) {
  DWORD needed = control == SERVICE_CONTROL_STOP ? SERVICE_STOP
                 : control == SERVICE_CONTROL_INTERROGATE ? SERVICE_INTERROGATE
                                                          : SERVICE_PAUSE_CONTINUE;
  auto s = LookupSc(service, false, needed);
  if (!s) return FALSE;
  if (!status) return Fail(ERROR_INVALID_PARAMETER);
  db::Status current = db::ReadStatus(s->name);
  *status = current.status;
  if (!Active(current)) return Fail(ERROR_SERVICE_NOT_ACTIVE);
  control::Reply reply{};
  DWORD err = control::Send(db::ControlSocket(s->name), control, &reply);
  if (err != ERROR_SUCCESS) return Fail(err);
  *status = reply.status;
  return reply.error == ERROR_SUCCESS ? TRUE : Fail(reply.error);
}

extern "C" BOOL WINAPI QueryServiceStatus(SC_HANDLE service, LPSERVICE_STATUS status) {
  auto s = LookupSc(service, false, SERVICE_QUERY_STATUS);
  if (!s) return FALSE;
  if (!status) return Fail(ERROR_INVALID_PARAMETER);
  db::Config config;
  if (!db::ReadConfig(s->name, &config)) return Fail(ERROR_SERVICE_DOES_NOT_EXIST);
  *status = db::ReadStatus(s->name).status;
  return TRUE;
}

namespace orv::svc {

int StartAutomaticServices(std::string* failures) {
  int started = 0;
  SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
  for (const auto& name : db::AllServices()) {
    db::Config config;
    if (!db::ReadConfig(name, &config) || config.startType != SERVICE_AUTO_START || db::MarkedForDelete(name) ||
        Active(db::ReadStatus(name))) {
      continue;
    }
    SC_HANDLE service = OpenServiceA(manager, name.c_str(), SERVICE_START);
    if (service && StartServiceA(service, 0, nullptr)) {
      ++started;
    } else if (failures) {
      *failures += name + ": error " + std::to_string(GetLastError()) + "\n";
    }
    if (service) CloseServiceHandle(service);
  }
  CloseServiceHandle(manager);
  return started;
}

}  // namespace orv::svc
