// The Win32 file calls on Windows paths (see paths.h for how they map): open,
// create, append, read, seek, find and folders. File handles are kernel handles,
// closed with CloseHandle. Share modes are accepted and not enforced: files here
// can always be shared, which is what the system's callers ask for anyway.
#pragma once
#include "platform/base/sim/handle_table.h"
#include "platform/base/types.h"

namespace orv::win {

constexpr DWORD GENERIC_READ = 0x80000000;
constexpr DWORD GENERIC_WRITE = 0x40000000;
constexpr DWORD FILE_SHARE_READ = 0x1;
constexpr DWORD FILE_SHARE_WRITE = 0x2;
constexpr DWORD CREATE_NEW = 1;
constexpr DWORD CREATE_ALWAYS = 2;
constexpr DWORD OPEN_EXISTING = 3;
constexpr DWORD OPEN_ALWAYS = 4;
constexpr DWORD TRUNCATE_EXISTING = 5;
constexpr DWORD FILE_ATTRIBUTE_READONLY = 0x01;
constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x10;
constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x80;
constexpr DWORD FILE_BEGIN = 0;
constexpr DWORD FILE_CURRENT = 1;
constexpr DWORD FILE_END = 2;
constexpr DWORD INVALID_SET_FILE_POINTER = 0xFFFFFFFF;
constexpr DWORD INVALID_FILE_SIZE = 0xFFFFFFFF;
constexpr DWORD INVALID_FILE_ATTRIBUTES = 0xFFFFFFFF;
using ::FILETIME;

struct WIN32_FIND_DATAA {
  DWORD dwFileAttributes;
  FILETIME ftCreationTime;
  FILETIME ftLastAccessTime;
  FILETIME ftLastWriteTime;
  DWORD nFileSizeHigh;
  DWORD nFileSizeLow;
  DWORD dwReserved0;
  DWORD dwReserved1;
  char cFileName[MAX_PATH];
  char cAlternateFileName[14];
};

// INVALID_HANDLE_VALUE with ERROR_FILE_NOT_FOUND / ERROR_PATH_NOT_FOUND (the
// folder is missing: folders are never made on the way) / ERROR_FILE_EXISTS /
// ERROR_ACCESS_DENIED. OPEN_ALWAYS and CREATE_ALWAYS on an existing file succeed
// with ERROR_ALREADY_EXISTS as the last error.
HANDLE CreateFileA(const char* path, DWORD access, DWORD shareMode, void* security, DWORD disposition,
                   DWORD flags, HANDLE templateFile);
BOOL WriteFile(HANDLE file, const void* data, DWORD size, DWORD* written, void* overlapped);
BOOL ReadFile(HANDLE file, void* data, DWORD size, DWORD* read, void* overlapped);
DWORD SetFilePointer(HANDLE file, LONG distance, LONG* distanceHigh, DWORD method);
DWORD GetFileSize(HANDLE file, DWORD* sizeHigh);

// The first entry matching the last component (wildcards '*' and '?' allowed,
// matched against long and short names); INVALID_HANDLE_VALUE with
// ERROR_FILE_NOT_FOUND when nothing matches. Close with FindClose.
HANDLE FindFirstFileA(const char* pattern, WIN32_FIND_DATAA* data);
BOOL FindNextFileA(HANDLE find, WIN32_FIND_DATAA* data);
BOOL FindClose(HANDLE find);

DWORD GetFileAttributesA(const char* path);
BOOL CreateDirectoryA(const char* path, void* security);
BOOL DeleteFileA(const char* path);

}  // namespace orv::win
