// ReadFile, WriteFile, GetOverlappedResult and CancelIo: the object behind the
// handle does the work.
#include <windows.h>

#include "platform/fs/sim/io_object.h"

namespace {

std::shared_ptr<orv::win::IoObject> IoOf(HANDLE handle) {
  auto object = orv::win::LookupHandleAs<orv::win::IoObject>(handle);
  if (!object) SetLastError(ERROR_INVALID_HANDLE);
  return object;
}

}  // namespace

namespace orv::win {

BOOL IoObject::Result(LPOVERLAPPED overlapped, LPDWORD done, BOOL) {
  if (!overlapped) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (done) *done = static_cast<DWORD>(overlapped->InternalHigh);
  SetLastError(static_cast<DWORD>(overlapped->Internal));
  return overlapped->Internal == ERROR_SUCCESS;
}

}  // namespace orv::win

extern "C" BOOL WINAPI ReadFile(HANDLE hFile, LPVOID lpBuffer, DWORD nNumberOfBytesToRead,
                                LPDWORD lpNumberOfBytesRead, LPOVERLAPPED lpOverlapped) {
  if (lpNumberOfBytesRead) *lpNumberOfBytesRead = 0;
  auto object = IoOf(hFile);
  return object ? object->Read(lpBuffer, nNumberOfBytesToRead, lpNumberOfBytesRead, lpOverlapped) : FALSE;
}

extern "C" BOOL WINAPI WriteFile(HANDLE hFile, LPCVOID lpBuffer, DWORD nNumberOfBytesToWrite,
                                 LPDWORD lpNumberOfBytesWritten, LPOVERLAPPED lpOverlapped) {
  if (lpNumberOfBytesWritten) *lpNumberOfBytesWritten = 0;
  auto object = IoOf(hFile);
  return object ? object->Write(lpBuffer, nNumberOfBytesToWrite, lpNumberOfBytesWritten, lpOverlapped) : FALSE;
}

extern "C" BOOL WINAPI GetOverlappedResult(HANDLE hFile, LPOVERLAPPED lpOverlapped,
                                           LPDWORD lpNumberOfBytesTransferred, BOOL bWait) {
  auto object = IoOf(hFile);
  return object ? object->Result(lpOverlapped, lpNumberOfBytesTransferred, bWait) : FALSE;
}

extern "C" BOOL WINAPI CancelIo(HANDLE hFile) {
  auto object = IoOf(hFile);
  return object ? object->Cancel() : FALSE;
}
