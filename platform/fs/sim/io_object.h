// The kernel objects ReadFile and WriteFile reach: the file area's files, and
// whatever other areas add (the server end of a named pipe). One handle table
// holds them all, so the two calls find the object and let it do the work.
#pragma once
#include <windows.h>

#include "platform/base/sim/handle_table.h"

namespace orv::win {

class IoObject : public KernelObject {
 public:
  // As ReadFile and WriteFile: *done is set (0 on failure), the last error on failure.
  virtual BOOL Read(LPVOID buffer, DWORD size, LPDWORD done, LPOVERLAPPED overlapped) = 0;
  virtual BOOL Write(LPCVOID buffer, DWORD size, LPDWORD done, LPOVERLAPPED overlapped) = 0;
};

}  // namespace orv::win
