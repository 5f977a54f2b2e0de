// The control channel between ControlService and the dispatcher: a SEQPACKET
// socket; the request is one DWORD (the control code), the reply one DWORD (the
// outcome, a Win32 error number) followed by the SERVICE_STATUS afterwards.
#pragma once
#include <windows.h>

#include <string>

#include "platform/base/sim/unique_fd.h"

namespace orv::svc::control {

struct Reply {
  DWORD error;
  SERVICE_STATUS status;
};

// How long ControlService waits for the handler, as the Win32 manager does.
constexpr int kReplyTimeoutMs = 30000;

// Sends the control and waits for the reply. ERROR_SERVICE_NOT_ACTIVE when nothing listens.
DWORD Send(const std::string& socketPath, DWORD control, Reply* reply);

// The dispatcher's end: a listening socket, none with the last error set on failure.
orv::sim::unique_fd Listen(const std::string& socketPath);

}  // namespace orv::svc::control
