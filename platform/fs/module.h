// The running program's own path, short (8.3) path forms and the user's name.
// The program file is "<program folder>\<file name>" with the program folder of
// paths.h ("C:\Program Files\Orv\Calvex" unless ORV_PROGRAM_FOLDER names another).
#pragma once
#include "platform/base/types.h"

namespace orv::win {

// Only the program itself (module NULL) has a path here; other modules answer 0
// with ERROR_INVALID_HANDLE. A path that does not fit is cut to size-1 characters
// and terminated, the answer is size and the error ERROR_INSUFFICIENT_BUFFER.
DWORD GetModuleFileNameA(HMODULE module, char* path, DWORD size);

// The short form of an existing path (in place allowed). Returns its length, or
// the size needed (with terminator) when the buffer is too small, or 0 with
// ERROR_FILE_NOT_FOUND / ERROR_PATH_NOT_FOUND / ERROR_INVALID_NAME.
DWORD GetShortPathNameA(const char* longPath, char* shortPath, DWORD size);
// The true long form of an existing path, with the same conventions.
DWORD GetLongPathNameA(const char* shortPath, char* longPath, DWORD size);

// The logged-on user's name; *size is the buffer size in, the length with
// terminator out. FALSE with ERROR_INSUFFICIENT_BUFFER (and *size the need).
BOOL GetUserNameA(char* name, DWORD* size);

}  // namespace orv::win
