// The kernel objects that ReadFile, WriteFile, GetOverlappedResult and CancelIo
// reach: the file area's files, and whatever other areas add (the server end of a
// named pipe). One handle table holds them all, so the calls find the object and
// let it do the work.
#pragma once
#include <windows.h>

#include "platform/base/sim/handle_table.h"

namespace orv::win {

class IoObject : public KernelObject {
 public:
  // As ReadFile and WriteFile: *done is set (0 on failure), the last error on failure.
  virtual BOOL Read(LPVOID buffer, DWORD size, LPDWORD done, LPOVERLAPPED overlapped) = 0;
  virtual BOOL Write(LPCVOID buffer, DWORD size, LPDWORD done, LPOVERLAPPED overlapped) = 0;
  // As GetOverlappedResult and CancelIo. An object whose operations complete at
  // once answers from the record and has nothing to cancel.
  virtual BOOL Result(LPOVERLAPPED overlapped, LPDWORD done, BOOL wait);
  virtual BOOL Cancel() { return TRUE; }
};

}  // namespace orv::win
