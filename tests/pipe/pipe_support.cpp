// The pipe tests' shared pieces.
#include "tests/pipe/pipe_support.h"

#include <gtest/gtest.h>

#include <cstring>

#include <sddl.h>

namespace orv::pipe {

HANDLE MakePipe(const char* name, const char* sddl, DWORD timeout, DWORD flags) {
  PSECURITY_DESCRIPTOR sd = nullptr;
  SECURITY_ATTRIBUTES sa;
  if (sddl) {
    EXPECT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1, &sd, nullptr));
    sa.lpSecurityDescriptor = sd;
  }
  HANDLE h = CreateNamedPipeA(name, PIPE_ACCESS_DUPLEX | flags, PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT,
                             1, 0, 0, timeout, sddl ? &sa : nullptr);
  DWORD err = GetLastError();
  LocalFree(sd);
  SetLastError(err);
  return h;
}

OVERLAPPED Fresh(HANDLE event) {
  OVERLAPPED ov{};
  ov.hEvent = event;
  ResetEvent(event);
  return ov;
}

namespace {

// Waits for an overlapped operation on either event; true when the I/O finished.
bool Await(BOOL started, HANDLE pipe, OVERLAPPED* ov, HANDLE stop, DWORD* n, BOOL* ok) {
  *ok = started;
  if (!started && GetLastError() == ERROR_IO_PENDING) {
    HANDLE events[2] = {stop, ov->hEvent};
    if (WaitForMultipleObjects(2, events, FALSE, INFINITE) != WAIT_OBJECT_0 + 1) {
      // Stopped: the operation ends before its record goes.
      CancelIo(pipe);
      GetOverlappedResult(pipe, ov, n, TRUE);
      return false;
    }
    *ok = GetOverlappedResult(pipe, ov, n, FALSE);
  }
  return true;
}

}  // namespace

EchoServer::EchoServer(HANDLE pipe) : pipe_(pipe) {
  stop_ = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  io_ = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  thread_ = std::thread([this] { Loop(); });
}

EchoServer::~EchoServer() {
  SetEvent(stop_);
  thread_.join();
  CloseHandle(pipe_);
  CloseHandle(stop_);
  CloseHandle(io_);
}

void EchoServer::Loop() {
  for (;;) {
    OVERLAPPED ov = Fresh(io_);
    DWORD n = 0;
    BOOL ok = FALSE;
    BOOL c = ConnectNamedPipe(pipe_, &ov);
    if (!c && GetLastError() == ERROR_PIPE_CONNECTED) c = TRUE;
    if (!Await(c, pipe_, &ov, stop_, &n, &ok)) return;
    if (!ok) continue;
    char in[80] = {};
    ov = Fresh(io_);
    if (!Await(ReadFile(pipe_, in, sizeof in, &n, &ov), pipe_, &ov, stop_, &n, &ok)) return;
    if (ok) {
      std::string reply = "echo:" + std::string(in, strnlen(in, n));
      ov = Fresh(io_);
      if (!Await(WriteFile(pipe_, reply.c_str(), static_cast<DWORD>(reply.size() + 1), &n, &ov), pipe_, &ov, stop_,
                 &n, &ok)) {
        return;
      }
      ++served_;
    }
    DisconnectNamedPipe(pipe_);
  }
}

std::string Call(const char* name, const std::string& request, DWORD outSize, DWORD timeout, DWORD* err) {
  char out[800] = {};
  DWORD read = 0;
  std::string in = request;
  BOOL ok = CallNamedPipeA(name, &in[0], static_cast<DWORD>(in.size() + 1), out, outSize, &read, timeout);
  if (err) *err = ok ? 0 : GetLastError();
  return ok ? std::string(out) : std::string();
}

}  // namespace orv::pipe
