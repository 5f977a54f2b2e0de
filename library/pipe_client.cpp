// Orv_CallNamePipe: one request/reply exchange with the service's fixed pipe.
#include <windows.h>

#include "library/OrvWmiAcpi.h"

namespace {
constexpr char kServicePipe[] = "\\\\.\\pipe\\simple";
}

extern "C" std::int32_t Orv_CallNamePipe(const void* request, std::uint32_t requestSize, void* reply,
                                         std::uint32_t replySize) {
  DWORD read = 0;
  // The wait for a busy pipe is the pipe's own default time-out (1000 ms for the
  // service). The call only reads the request, whatever its argument's constness.
  return CallNamedPipeA(kServicePipe, const_cast<void*>(request), requestSize, reply, replySize, &read,
                        NMPWAIT_USE_DEFAULT_WAIT)
             ? 1
             : 0;
}
