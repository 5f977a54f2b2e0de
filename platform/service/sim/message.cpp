// The system message table, as FormatMessageA serves it.
#include <windows.h>

#include <cstring>

namespace {

struct Entry {
  DWORD id;
  const char* text;
};

constexpr Entry kMessages[] = {
    {0, "The operation completed successfully."},
    {2, "The system cannot find the file specified."},
    {3, "The system cannot find the path specified."},
    {5, "Access is denied."},
    {6, "The handle is invalid."},
    {8, "Not enough memory resources are available to process this command."},
    {13, "The data is invalid."},
    {31, "A device attached to the system is not functioning."},
    {50, "The request is not supported."},
    {87, "The parameter is incorrect."},
    {109, "The pipe has been ended."},
    {121, "The semaphore timeout period has expired."},
    {122, "The data area passed to a system call is too small."},
    {123, "The filename, directory name, or volume label syntax is incorrect."},
    {170, "The requested resource is in use."},
    {183, "Cannot create a file when that file already exists."},
    {230, "The pipe state is invalid."},
    {231, "All pipe instances are busy."},
    {232, "The pipe is being closed."},
    {233, "No process is on the other end of the pipe."},
    {234, "More data is available."},
    {535, "There is a process on other end of the pipe."},
    {536, "Waiting for a process to open the other end of the pipe."},
    {995, "The I/O operation has been aborted because of either a thread exit or an application request."},
    {996, "Overlapped I/O event is not in a signaled state."},
    {997, "Overlapped I/O operation is in progress."},
    {1052, "The requested control is not valid for this service."},
    {1053, "The service did not respond to the start or control request in a timely fashion."},
    {1056, "An instance of the service is already running."},
    {1058, "The service cannot be started, either because it is disabled or because it has no enabled devices "
           "associated with it."},
    {1060, "The specified service does not exist as an installed service."},
    {1061, "The service cannot accept control messages at this time."},
    {1062, "The service has not been started."},
    {1063, "The service process could not connect to the service controller."},
    {1066, "The service has returned a service-specific error code."},
    {1067, "The process terminated unexpectedly."},
    {1072, "The specified service has been marked for deletion."},
    {1073, "The specified service already exists."},
    {1078, "The name is already in use as either a service name or a service display name."},
    {1083, "The executable program that this service is configured to run in does not implement the service."},
    {1305, "The revision level is unknown."},
    {1338, "The security descriptor structure is invalid."},
};

}  // namespace

extern "C" DWORD WINAPI FormatMessageA(DWORD flags, LPCVOID, DWORD messageId, DWORD, LPSTR buffer, DWORD size,
                                      va_list*) {
  if (!(flags & FORMAT_MESSAGE_FROM_SYSTEM) || !buffer) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const char* text = nullptr;
  for (const auto& e : kMessages) {
    if (e.id == messageId) text = e.text;
  }
  if (!text) {
    SetLastError(ERROR_MR_MID_NOT_FOUND);
    return 0;
  }
  const std::size_t len = std::strlen(text) + 2;  // with the line break
  if (flags & FORMAT_MESSAGE_ALLOCATE_BUFFER) {
    std::size_t bytes = len + 1 > size ? len + 1 : size;
    auto* out = static_cast<char*>(LocalAlloc(LPTR, bytes));
    if (!out) return 0;
    std::memcpy(out, text, len - 2);
    std::memcpy(out + len - 2, "\r\n", 3);
    *reinterpret_cast<char**>(buffer) = out;
  } else {
    if (size < len + 1) {
      SetLastError(ERROR_INSUFFICIENT_BUFFER);
      return 0;
    }
    std::memcpy(buffer, text, len - 2);
    std::memcpy(buffer + len - 2, "\r\n", 3);
  }
  return static_cast<DWORD>(len);
}

