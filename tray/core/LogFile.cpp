// The log flag in the registry and the log writer.
#include "tray/core/LogFile.h"

#include <cstdio>
#include <cstring>
#include <string>

#include <windows.h>

namespace {

constexpr DWORD kUserNameSize = 255;
constexpr DWORD kFlagBufferSize = 128;

// printf into a string of whatever length the entry needs.
template <class... Args>
std::string Format(const char* format, Args... args) {
  int n = std::snprintf(nullptr, 0, format, args...);
  if (n <= 0) return std::string();
  std::string out(static_cast<std::size_t>(n) + 1, '\0');
  std::snprintf(&out[0], out.size(), format, args...);
  out.resize(static_cast<std::size_t>(n));
  return out;
}

bool LogFilePath(std::string* path) {
  char user[kUserNameSize];
  DWORD size = kUserNameSize;
  if (!GetUserNameA(user, &size)) return false;
  *path = Format("C:\\Users\\%s\\Documents\\CalvexLogFile.txt", user);
  return true;
}

void Append(HANDLE file, const std::string& bytes) {
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

}  // namespace

bool ReadLogFlag() {
  char text[kFlagBufferSize] = "NONE";
  orv::unique_hkey key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, LOG_FLAG_KEY, 0, KEY_QUERY_VALUE, key.put()) == ERROR_SUCCESS) {
    DWORD type = 0;
    DWORD size = kFlagBufferSize;
    // Only a read that succeeded counts: after a failed one the buffer holds no value.
    if (RegQueryValueExA(key.get(), LOG_FLAG_VALUE, nullptr, &type, reinterpret_cast<BYTE*>(text), &size) !=
        ERROR_SUCCESS) {
      std::strcpy(text, "NONE");
    }
    text[kFlagBufferSize - 1] = '\0';
  }
  return std::strcmp(text, "TRUE") == 0;
}

bool StoreLogFlag(bool on) {
  const char* text = on ? "TRUE" : "FALSE";
  orv::unique_hkey key;
  DWORD disposition = 0;
  char keyClass[] = " ";
  if (RegCreateKeyExA(HKEY_CURRENT_USER, LOG_FLAG_KEY, 0, keyClass, 0, KEY_ALL_ACCESS, nullptr, key.put(),
                      &disposition) != ERROR_SUCCESS) {
    return false;
  }
  return RegSetValueExA(key.get(), LOG_FLAG_VALUE, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                        static_cast<DWORD>(std::strlen(text) + 1)) == ERROR_SUCCESS;
}

void CLogFile::WriteLog(int nLevel, const char* text) {
  if (nLevel < 0 || nLevel > 5) return;
  if (!text) text = "";
  std::string path;
  if (!LogFilePath(&path)) return;
  m_hFile.reset(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!m_hFile) return;
  HANDLE file = m_hFile.get();
  SetFilePointer(file, 0, nullptr, FILE_END);
  SYSTEMTIME t{};
  GetLocalTime(&t);
  switch (nLevel) {
    case 0:
      Append(file, Format("<<%.2d month %.2d date  %.2d:%.2d:%.2d>> \r\n", t.wMonth, t.wDay, t.wHour, t.wMinute,
                             t.wSecond));
      Append(file, Format("Calvex receive WMI Event value : %s  ", text));
      break;
    case 1:
      Append(file, Format("\t<< %s >>\r\n", text));
      break;
    case 2:
    case 3:
    case 4:
      Append(file, Format("\t%s\r\n", text));
      break;
    case 5:
      Append(file, Format("<<%.2d month %.2d date  %.2d:%.2d:%.2d:%.3d>>  %s \r\n", t.wMonth, t.wDay, t.wHour,
                             t.wMinute, t.wSecond, t.wMilliseconds, text));
      break;
  }
  m_hFile.reset();
}
