// The profile calls: every read parses the file afresh; every write is a locked,
// atomic replacement of the whole file.
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/fs/sim/atomic.h"
#include "platform/fs/sim/paths.h"
#include "platform/profile/sim/ini.h"

namespace {

std::string ProfilePath(const char* fileName) {
  std::string name = fileName;
  if (name.find_first_of("\\/:") == std::string::npos) return "C:\\Windows\\" + name;
  return name;
}

// The file's text; empty when it does not exist or cannot be read.
std::string ReadProfile(const orv::fs::MappedPath& m) {
  std::string content;
  if (m.exists && !m.isDirectory) orv::fs::ReadWholeFile(m.host, &content, nullptr);
  return content;
}

DWORD CopyText(const std::string& text, char* buffer, DWORD size) {
  std::size_t n = text.size() < size ? text.size() : size - 1;
  std::memcpy(buffer, text.data(), n);
  buffer[n] = '\0';
  return static_cast<DWORD>(n);
}

DWORD CopyList(const std::vector<std::string>& names, char* buffer, DWORD size) {
  if (size < 2) {
    buffer[0] = '\0';
    return 0;
  }
  std::string list;
  for (auto& n : names) list += n + '\0';
  if (list.size() + 1 <= size) {
    std::memcpy(buffer, list.data(), list.size());
    buffer[list.size()] = '\0';
    if (list.empty()) buffer[1] = '\0';
    return static_cast<DWORD>(list.size());
  }
  std::memcpy(buffer, list.data(), size - 2);
  buffer[size - 2] = '\0';
  buffer[size - 1] = '\0';
  return size - 2;
}

bool BreaksLines(const char* text) { return text && std::strpbrk(text, "\r\n") != nullptr; }

}  // namespace

extern "C" DWORD WINAPI GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR defaultText, LPSTR buffer,
                                                 DWORD size, LPCSTR fileName) {
  if (!buffer || size == 0) return 0;
  std::string content;
  if (fileName) content = ReadProfile(orv::fs::MapPath(ProfilePath(fileName)));
  orv::profile::IniText ini(content);
  if (!section) return CopyList(ini.SectionNames(), buffer, size);
  if (!key) return CopyList(ini.KeyNames(section), buffer, size);
  std::string value;
  if (!ini.Find(section, key, &value)) {
    value = defaultText ? defaultText : "";
    while (!value.empty() && (value.back() == ' ' || value.back() == '\t')) value.pop_back();
  }
  return CopyText(value, buffer, size);
}

extern "C" BOOL WINAPI WritePrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR fileName) {
  if (!section && !key && !value) return TRUE;
  if (!section || !fileName || BreaksLines(section) || BreaksLines(key) || BreaksLines(value) ||
      std::strchr(section, ']') || (key && std::strchr(key, '=')) || (key && orv::profile::Trim(key).empty())) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  orv::fs::MappedPath m = orv::fs::MapPath(ProfilePath(fileName));
  if (!m.valid || !m.parentExists || m.isDirectory) {
    SetLastError(!m.valid ? ERROR_INVALID_NAME : m.isDirectory ? ERROR_ACCESS_DENIED : ERROR_PATH_NOT_FOUND);
    return FALSE;
  }
  orv::fs::FileLock lock(m.host);
  if (!lock.held()) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  std::string before = ReadProfile(orv::fs::MapPath(ProfilePath(fileName)));
  orv::profile::IniText ini(before);
  if (!key) {
    ini.RemoveSection(section);
  } else if (!value) {
    ini.RemoveKey(section, key);
  } else {
    ini.Set(orv::profile::Trim(section), orv::profile::Trim(key), value);
  }
  std::string after = ini.Serialize();
  if (after == before && m.exists) return TRUE;
  if (!orv::fs::WriteFileAtomic(m.host, after, nullptr)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  return TRUE;
}

