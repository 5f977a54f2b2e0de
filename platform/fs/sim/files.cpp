// File handles, find searches and folders on mapped Windows paths.
#include <windows.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/base/sim/unique_fd.h"
#include "platform/fs/sim/io_object.h"
#include "platform/fs/sim/paths.h"
#include "platform/text/sim/ansi.h"

using orv::win::KernelObject;
using orv::win::LookupHandleAs;
using orv::win::RegisterHandle;

namespace {

class FileObject : public orv::win::IoObject {
 public:
  explicit FileObject(orv::sim::unique_fd fd) : fd_(std::move(fd)) {}
  BOOL Read(LPVOID buffer, DWORD size, LPDWORD done, LPOVERLAPPED) override;
  BOOL Write(LPCVOID buffer, DWORD size, LPDWORD done, LPOVERLAPPED) override;
  int fd() const { return fd_.get(); }

 private:
  const orv::sim::unique_fd fd_;
};

class FindObject : public KernelObject {
 public:
  std::vector<orv::fs::FolderEntry> matches;
  std::size_t next = 0;
};

DWORD FromErrno(int error) {
  switch (error) {
    case ENOENT: return ERROR_FILE_NOT_FOUND;
    case ENOTDIR: return ERROR_PATH_NOT_FOUND;
    case EEXIST: return ERROR_FILE_EXISTS;
    case ENAMETOOLONG: return ERROR_INVALID_NAME;
    case ENOMEM: return ERROR_NOT_ENOUGH_MEMORY;
    default: return ERROR_ACCESS_DENIED;
  }
}

// Maps a path for a call that needs its folder to exist; false with the error set.
bool MapForUse(const char* path, orv::fs::MappedPath* m) {
  if (!path) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  *m = orv::fs::MapPath(path);
  if (!m->valid) {
    SetLastError(ERROR_INVALID_NAME);
    return false;
  }
  if (!m->parentExists) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return false;
  }
  return true;
}

void Fill(const orv::fs::FolderEntry& e, WIN32_FIND_DATAA* data) {
  std::memset(data, 0, sizeof *data);
  struct stat st {};
  if (stat(e.host.c_str(), &st) == 0) {
    auto size = static_cast<unsigned long long>(st.st_size);
    data->nFileSizeLow = static_cast<DWORD>(size);
    data->nFileSizeHigh = static_cast<DWORD>(size >> 32);
    // FILETIME counts 100 ns from 1601.
    unsigned long long t = (static_cast<unsigned long long>(st.st_mtime) + 11644473600ULL) * 10000000ULL;
    data->ftLastWriteTime = FILETIME{static_cast<DWORD>(t), static_cast<DWORD>(t >> 32)};
    data->ftCreationTime = data->ftLastAccessTime = data->ftLastWriteTime;
  }
  data->dwFileAttributes = e.isDirectory ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
  orv::text::CopyBounded(data->cFileName, sizeof data->cFileName, e.longName.c_str());
  if (e.shortName != e.longName) {
    orv::text::CopyBounded(data->cAlternateFileName, sizeof data->cAlternateFileName, e.shortName.c_str());
  }
}

// Files complete every operation at once; a caller's record still gets the
// outcome, and its event is signalled, as for an operation that has completed.
BOOL Completed(BOOL ok, DWORD bytes, LPOVERLAPPED overlapped) {
  if (overlapped) {
    overlapped->Internal = ok ? ERROR_SUCCESS : GetLastError();
    overlapped->InternalHigh = bytes;
    if (overlapped->hEvent) SetEvent(overlapped->hEvent);
  }
  return ok;
}

BOOL FileObject::Write(LPCVOID data, DWORD size, LPDWORD written, LPOVERLAPPED overlapped) {
  const char* p = static_cast<const char*>(data);
  DWORD done = 0;
  while (done < size) {
    ssize_t n = write(fd(), p + done, size - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      SetLastError(errno == EBADF ? ERROR_ACCESS_DENIED : ERROR_WRITE_FAULT);
      if (written) *written = done;
      return Completed(FALSE, done, overlapped);
    }
    done += static_cast<DWORD>(n);
  }
  if (written) *written = done;
  return Completed(TRUE, done, overlapped);
}

BOOL FileObject::Read(LPVOID data, DWORD size, LPDWORD readCount, LPOVERLAPPED overlapped) {
  ssize_t n;
  do n = read(fd(), data, size); while (n < 0 && errno == EINTR);
  if (n < 0) {
    SetLastError(errno == EBADF ? ERROR_ACCESS_DENIED : ERROR_READ_FAULT);
    return Completed(FALSE, 0, overlapped);
  }
  if (readCount) *readCount = static_cast<DWORD>(n);
  return Completed(TRUE, static_cast<DWORD>(n), overlapped);
}

std::shared_ptr<FileObject> FileOf(HANDLE handle) {
  auto file = LookupHandleAs<FileObject>(handle);
  if (!file) SetLastError(ERROR_INVALID_HANDLE);
  return file;
}

}  // namespace

extern "C" HANDLE WINAPI CreateFileA(LPCSTR path, DWORD access, DWORD /*shareMode*/, LPSECURITY_ATTRIBUTES,
                                     DWORD disposition, DWORD /*flags*/, HANDLE /*templateFile*/) {
  orv::fs::MappedPath m;
  if (!MapForUse(path, &m)) return INVALID_HANDLE_VALUE;
  if (m.isDirectory) {
    SetLastError(ERROR_ACCESS_DENIED);
    return INVALID_HANDLE_VALUE;
  }
  int flags = O_CLOEXEC;
  bool read = access & GENERIC_READ, write = access & GENERIC_WRITE;
  flags |= read && write ? O_RDWR : write ? O_WRONLY : O_RDONLY;
  switch (disposition) {
    case CREATE_NEW: flags |= O_CREAT | O_EXCL; break;
    case CREATE_ALWAYS: flags |= O_CREAT | O_TRUNC; break;
    case OPEN_EXISTING: break;
    case OPEN_ALWAYS: flags |= O_CREAT; break;
    case TRUNCATE_EXISTING: flags |= O_TRUNC; break;
    default: SetLastError(ERROR_INVALID_PARAMETER); return INVALID_HANDLE_VALUE;
  }
  if ((flags & O_TRUNC) && !write) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_HANDLE_VALUE;
  }
  orv::sim::unique_fd fd(open(m.host.c_str(), flags, 0644));
  if (!fd) {
    SetLastError(FromErrno(errno));
    return INVALID_HANDLE_VALUE;
  }
  HANDLE h = RegisterHandle(std::make_shared<FileObject>(std::move(fd)));
  bool existed = m.exists;
  SetLastError((existed && (disposition == OPEN_ALWAYS || disposition == CREATE_ALWAYS)) ? ERROR_ALREADY_EXISTS
                                                                                           : ERROR_SUCCESS);
  return h;
}

extern "C" DWORD WINAPI SetFilePointer(HANDLE handle, LONG distance, PLONG distanceHigh, DWORD method) {
  auto file = FileOf(handle);
  if (!file) return INVALID_SET_FILE_POINTER;
  long long offset = distanceHigh ? (static_cast<long long>(*distanceHigh) << 32) | static_cast<DWORD>(distance)
                                  : static_cast<long long>(distance);
  int whence = method == FILE_BEGIN ? SEEK_SET : method == FILE_CURRENT ? SEEK_CUR : method == FILE_END ? SEEK_END : -1;
  if (whence < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_SET_FILE_POINTER;
  }
  off_t at = lseek(file->fd(), static_cast<off_t>(offset), whence);
  if (at < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_SET_FILE_POINTER;
  }
  if (distanceHigh) *distanceHigh = static_cast<LONG>(static_cast<unsigned long long>(at) >> 32);
  SetLastError(ERROR_SUCCESS);
  return static_cast<DWORD>(at);
}

extern "C" DWORD WINAPI GetFileSize(HANDLE handle, LPDWORD sizeHigh) {
  auto file = FileOf(handle);
  struct stat st {};
  if (!file || fstat(file->fd(), &st) != 0) return INVALID_FILE_SIZE;
  auto size = static_cast<unsigned long long>(st.st_size);
  if (sizeHigh) *sizeHigh = static_cast<DWORD>(size >> 32);
  return static_cast<DWORD>(size);
}

namespace {

// FILETIME counts 100 ns from 1601.
FILETIME FileTimeOf(const timespec& t) {
  unsigned long long ticks = (static_cast<unsigned long long>(t.tv_sec) + 11644473600ULL) * 10000000ULL +
                             static_cast<unsigned long long>(t.tv_nsec) / 100;
  return FILETIME{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
}

}  // namespace

extern "C" BOOL WINAPI GetFileInformationByHandle(HANDLE handle, LPBY_HANDLE_FILE_INFORMATION info) {
  auto file = FileOf(handle);
  if (!file) return FALSE;
  struct stat st {};
  if (!info || fstat(file->fd(), &st) != 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::memset(info, 0, sizeof *info);
  info->dwFileAttributes = S_ISDIR(st.st_mode) ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
  info->ftCreationTime = FileTimeOf(st.st_ctim);
  info->ftLastAccessTime = FileTimeOf(st.st_atim);
  info->ftLastWriteTime = FileTimeOf(st.st_mtim);
  info->dwVolumeSerialNumber = static_cast<DWORD>(st.st_dev);
  auto size = static_cast<unsigned long long>(st.st_size);
  info->nFileSizeHigh = static_cast<DWORD>(size >> 32);
  info->nFileSizeLow = static_cast<DWORD>(size);
  info->nNumberOfLinks = static_cast<DWORD>(st.st_nlink);
  auto inode = static_cast<unsigned long long>(st.st_ino);
  info->nFileIndexHigh = static_cast<DWORD>(inode >> 32);
  info->nFileIndexLow = static_cast<DWORD>(inode);
  SetLastError(ERROR_SUCCESS);
  return TRUE;
}

extern "C" HANDLE WINAPI FindFirstFileA(LPCSTR pattern, LPWIN32_FIND_DATAA data) {
  if (!pattern || !data) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_HANDLE_VALUE;
  }
  std::string text = pattern;
  auto cut = text.find_last_of("\\/");
  std::string folder = cut == std::string::npos ? "" : text.substr(0, cut + 1);
  std::string name = cut == std::string::npos ? text : text.substr(cut + 1);
  if (folder.empty() && text.size() >= 2 && text[1] == ':') {  // "C:name"
    folder = text.substr(0, 2) + "\\";
    name = text.substr(2);
  }
  std::vector<orv::fs::FolderEntry> entries;
  if (name.empty() || !orv::fs::ListFolder(folder.empty() ? "." : folder, &entries)) {
    SetLastError(name.empty() ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  auto find = std::make_shared<FindObject>();
  for (auto& e : entries) {
    if (orv::fs::MatchesWildcard(name, e.longName) || orv::fs::MatchesWildcard(name, e.shortName)) {
      find->matches.push_back(e);
    }
  }
  if (find->matches.empty()) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  Fill(find->matches[find->next++], data);
  return RegisterHandle(find);
}

extern "C" BOOL WINAPI FindNextFileA(HANDLE handle, LPWIN32_FIND_DATAA data) {
  auto find = LookupHandleAs<FindObject>(handle);
  if (!find || !data) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (find->next >= find->matches.size()) {
    SetLastError(ERROR_NO_MORE_FILES);
    return FALSE;
  }
  Fill(find->matches[find->next++], data);
  return TRUE;
}

extern "C" BOOL WINAPI FindClose(HANDLE handle) {
  if (!LookupHandleAs<FindObject>(handle)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return CloseHandle(handle);
}

extern "C" DWORD WINAPI GetFileAttributesA(LPCSTR path) {
  if (!path) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_FILE_ATTRIBUTES;
  }
  orv::fs::MappedPath m = orv::fs::MapPath(path);
  if (!m.exists) {
    SetLastError(m.parentExists ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND);
    return INVALID_FILE_ATTRIBUTES;
  }
  return m.isDirectory ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
}

extern "C" BOOL WINAPI CreateDirectoryA(LPCSTR path, LPSECURITY_ATTRIBUTES) {
  orv::fs::MappedPath m;
  if (!MapForUse(path, &m)) return FALSE;
  if (m.exists) {
    SetLastError(ERROR_ALREADY_EXISTS);
    return FALSE;
  }
  if (mkdir(m.host.c_str(), 0755) != 0) {
    SetLastError(errno == EEXIST ? ERROR_ALREADY_EXISTS : FromErrno(errno));
    return FALSE;
  }
  return TRUE;
}

extern "C" BOOL WINAPI DeleteFileA(LPCSTR path) {
  orv::fs::MappedPath m;
  if (!MapForUse(path, &m)) return FALSE;
  if (!m.exists) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return FALSE;
  }
  if (m.isDirectory || unlink(m.host.c_str()) != 0) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  return TRUE;
}

