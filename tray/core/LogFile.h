// The tray program's diagnostic log: the per-user flag that switches it, and the
// writer of the six entry formats to "C:\Users\<user>\Documents\CalvexLogFile.txt".
#pragma once
#include <windows.h>

#include "platform/base/unique_handle.h"

// Registry key (under HKEY_CURRENT_USER) and value of the log flag.
constexpr const char* LOG_FLAG_KEY = "Software\\Orv\\Calvex\\Log File";
constexpr const char* LOG_FLAG_VALUE = "Log File Flag";

// Whether the flag is exactly "TRUE"; any other text, or no key or value, is off.
bool ReadLogFlag();

// Stores "TRUE" or "FALSE" as the flag (the registry part of the About dialog's
// toggle); false when the key cannot be made or written.
bool StoreLogFlag(bool on);

class CLogFile {
 public:
  CLogFile() = default;
  CLogFile(const CLogFile&) = delete;
  CLogFile& operator=(const CLogFile&) = delete;

  // Appends one entry of the level's format (0..5; other levels write nothing),
  // opening and closing the file around it. A file that cannot be opened (no
  // such folder) loses the entry silently.
  void WriteLog(int nLevel, const char* text);

 private:
  orv::unique_file m_hFile;  // open only while one entry is written
};
