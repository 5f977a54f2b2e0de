// Orv_CallNamePipe: one request/reply exchange with the service's fixed pipe.
#include "library/OrvWmiAcpi.h"
#include "platform/pipe/pipe.h"

namespace {
constexpr char kServicePipe[] = "\\\\.\\pipe\\simple";
}

extern "C" std::int32_t Orv_CallNamePipe(const void* request, std::uint32_t requestSize, void* reply,
                                         std::uint32_t replySize) {
  orv::win::DWORD read = 0;
  // The wait for a busy pipe is the pipe's own default time-out (1000 ms for the service).
  return orv::pipe::CallNamedPipe(kServicePipe, request, requestSize, reply, replySize, &read,
                                  orv::pipe::NMPWAIT_USE_DEFAULT_WAIT) ? 1 : 0;
}
