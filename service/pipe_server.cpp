// The server loop: connect, read one request, run it, write one reply, disconnect.
// Every wait ends on the I/O event or the stop event, whichever comes first; the
// read and the write also end at a deadline, so no client can hold the one
// instance of the pipe.
#include "service/pipe_server.h"

#include <sddl.h>

#include <cstring>
#include <mutex>
#include <string>

#include "platform/base/unique_handle.h"
#include "service/request.h"
#include "service/service_status.h"

namespace orv::service {
namespace {

constexpr char kDefaultPipe[] = "\\\\.\\pipe\\simple";
constexpr char kPipePrefix[] = "\\\\.\\pipe\\";
constexpr char kSddl[] = "D:(D;OICI;GA;;;BG)(D;OICI;GA;;;AN)(A;OICI;GRGWGX;;;AU)(A;OICI;GA;;;BA)";
// Pause after a connect that failed at once, before the next try.
constexpr DWORD kConnectRetryMs = 100;
// How long a connected client has to deliver its request, and to take its reply.
// CallNamedPipe writes the request as it connects, so an honest caller's request
// is there when the connect completes; a caller waiting for the busy pipe (up to
// its 1000 ms) still gets its turn after a client that holds the pipe silently.
constexpr DWORD kExchangeDeadlineMs = 500;

// The stop event is published for the stop paths, which run on other threads.
std::mutex g_stopMutex;
HANDLE g_hServerStopEvent = nullptr;

// Publishes the stop event for its life, and withdraws it before the event closes.
class StopEventPublication {
 public:
  explicit StopEventPublication(HANDLE event) { Publish(event); }
  ~StopEventPublication() { Publish(nullptr); }
  StopEventPublication(const StopEventPublication&) = delete;
  StopEventPublication& operator=(const StopEventPublication&) = delete;

 private:
  static void Publish(HANDLE event) {
    std::lock_guard<std::mutex> lock(g_stopMutex);
    g_hServerStopEvent = event;
  }
};

// The pipe name from the arguments: "-pipe <name>" or "/pipe <name>" anywhere
// from the second argument on, the last pair winning. A bare name is taken as
// one under "\\.\pipe\".
std::string PipeName(DWORD argc, LPSTR* argv) {
  std::string name = kDefaultPipe;
  for (DWORD i = 1; i + 1 < argc; ++i) {
    if ((argv[i][0] == '-' || argv[i][0] == '/') && lstrcmpiA(argv[i] + 1, "pipe") == 0) name = argv[i + 1];
  }
  if (name.size() < sizeof kPipePrefix - 1 ||
      lstrcmpiA(name.substr(0, sizeof kPipePrefix - 1).c_str(), kPipePrefix) != 0) {
    name = kPipePrefix + name;
  }
  return name;
}

enum class Wait { Done, Failed, Stop, Late };

// Finishes an overlapped operation: waits for it when pending (at most deadlineMs)
// and returns how it ended. One that runs late, or is still pending at the stop,
// is cancelled and waited for until the cancel has completed, as the record must
// not be reused or go before; an operation that completed while being cancelled
// counts as done, unless the stop came.
Wait Finish(BOOL started, HANDLE hPipe, LPOVERLAPPED os, HANDLE* events, DWORD* transferred,
            DWORD deadlineMs = INFINITE) {
  if (!started && GetLastError() == ERROR_IO_PENDING) {
    DWORD w = WaitForMultipleObjects(2, events, FALSE, deadlineMs);
    if (w != WAIT_OBJECT_0 + 1) {
      CancelIo(hPipe);
      const BOOL done = GetOverlappedResult(hPipe, os, transferred, TRUE);
      if (w != WAIT_TIMEOUT) return Wait::Stop;
      return done ? Wait::Done : Wait::Late;
    }
    started = GetOverlappedResult(hPipe, os, transferred, FALSE);
  }
  return started ? Wait::Done : Wait::Failed;
}

void Prepare(LPOVERLAPPED os, HANDLE ioEvent) {
  std::memset(os, 0, sizeof *os);
  os->hEvent = ioEvent;
  ResetEvent(ioEvent);
}

void Serve(HANDLE hPipe, HANDLE* hEvents) {
  OVERLAPPED os;
  char szIn[kRequestSize];
  char szOut[kReplySize];
  for (;;) {
    Prepare(&os, hEvents[1]);
    DWORD cb = 0;
    BOOL connected = ConnectNamedPipe(hPipe, &os);
    if (!connected && GetLastError() == ERROR_PIPE_CONNECTED) connected = TRUE;
    Wait w = Finish(connected, hPipe, &os, hEvents, &cb);
    if (w == Wait::Stop) return;
    if (w == Wait::Failed) {
      // A connect that fails at once (no descriptors left, say) would otherwise
      // spin without ever looking at the stop event.
      DisconnectNamedPipe(hPipe);
      if (WaitForSingleObject(hEvents[0], kConnectRetryMs) != WAIT_TIMEOUT) return;
      continue;
    }
    // Both buffers start clean for every client, so nothing of an earlier
    // exchange reaches this one and the reply's filler is zero bytes.
    std::memset(szIn, 0, sizeof szIn);
    std::memset(szOut, 0, sizeof szOut);
    Prepare(&os, hEvents[1]);
    w = Finish(ReadFile(hPipe, szIn, sizeof szIn, &cb, &os), hPipe, &os, hEvents, &cb, kExchangeDeadlineMs);
    if (w == Wait::Stop) return;
    // Client gone, silent past the deadline, or a request longer than 80 bytes.
    if (w != Wait::Done || cb == 0) {
      DisconnectNamedPipe(hPipe);
      continue;
    }
    szIn[sizeof szIn - 1] = '\0';  // a request without a terminator is cut at 79 characters
    RunRequest(szIn, szOut, sizeof szOut);
    Prepare(&os, hEvents[1]);
    w = Finish(WriteFile(hPipe, szOut, sizeof szOut, &cb, &os), hPipe, &os, hEvents, &cb, kExchangeDeadlineMs);
    if (w == Wait::Stop) return;
    DisconnectNamedPipe(hPipe);  // also ends a reply the client would not take
  }
}

}  // namespace

void ServiceStart(DWORD argc, LPSTR* argv) {
  if (!ReportStatusToSCMgr(SERVICE_START_PENDING, ERROR_SUCCESS, 3000)) return;
  orv::unique_handle stopEvent(CreateEventA(nullptr, FALSE, FALSE, nullptr));
  if (!stopEvent) return;
  StopEventPublication published(stopEvent.get());

  if (!ReportStatusToSCMgr(SERVICE_START_PENDING, ERROR_SUCCESS, 3000)) return;
  orv::unique_handle ioEvent(CreateEventA(nullptr, FALSE, FALSE, nullptr));
  if (!ioEvent) return;

  if (!ReportStatusToSCMgr(SERVICE_START_PENDING, ERROR_SUCCESS, 3000)) return;
  orv::unique_hlocal pSD(LocalAlloc(LPTR, SECURITY_DESCRIPTOR_MIN_LENGTH));
  if (!pSD || !InitializeSecurityDescriptor(pSD.get(), SECURITY_DESCRIPTOR_REVISION)) return;
  SECURITY_ATTRIBUTES sa;
  sa.nLength = sizeof sa;
  sa.lpSecurityDescriptor = pSD.get();
  sa.bInheritHandle = TRUE;
  PSECURITY_DESCRIPTOR converted = nullptr;
  if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(kSddl, SDDL_REVISION_1, &converted, nullptr)) return;
  pSD.reset(converted);
  sa.lpSecurityDescriptor = pSD.get();

  if (!ReportStatusToSCMgr(SERVICE_START_PENDING, ERROR_SUCCESS, 3000)) return;
  const std::string name = PipeName(argc, argv);
  orv::unique_file hPipe(CreateNamedPipeA(name.c_str(),
                                          PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED | FILE_FLAG_FIRST_PIPE_INSTANCE,
                                          PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT, 1, 0, 0, 1000, &sa));
  if (!hPipe) {
    AddToMessageLog("Unable to create named pipe");
    return;
  }
  if (!ReportStatusToSCMgr(SERVICE_RUNNING, ERROR_SUCCESS, 1000)) return;

  HANDLE hEvents[2] = {stopEvent.get(), ioEvent.get()};
  Serve(hPipe.get(), hEvents);
}

void ServiceStop() {
  std::lock_guard<std::mutex> lock(g_stopMutex);
  if (g_hServerStopEvent) SetEvent(g_hServerStopEvent);
}

}  // namespace orv::service
