// Windows paths on this machine. A drive "X:" is the folder drive_x under the
// state folder ($ORV_HOME/drive_c for C:). The running program's own folder is the
// exception: the Windows folder named by ORV_PROGRAM_FOLDER (default
// "C:\Program Files\Orv\Calvex") is the real folder of the program file, so the
// files beside the program (StringTable, Image, UserDefine.ini, ...) are the ones
// in the build's bin folder. Each component is matched without regard to case, by
// its long name or by its 8.3 short name, as Windows resolves them. Both '\' and
// '/' separate; a path without a drive is relative to the program folder.
#pragma once
#include <string>
#include <vector>

namespace orv::fs {

struct MappedPath {
  bool valid = false;        // false for a path this machine cannot have (UNC, bad drive)
  std::string host;          // the host file or folder
  std::string longPath;      // the Windows path with each existing component's true name
  std::string shortPath;     // the same with each component's 8.3 short name
  bool exists = false;       // the whole path exists
  bool parentExists = false; // the folder that would hold the last component exists
  bool isDirectory = false;
};

MappedPath MapPath(const std::string& windowsPath);

// The Windows path of the program folder, without a trailing backslash.
std::string ProgramFolderWindows();
// The host folder behind it (the folder of the running program file).
std::string ProgramFolderHost();

// One entry of a Windows folder: its true name and its 8.3 short name.
struct FolderEntry {
  std::string longName;
  std::string shortName;
  std::string host;
  bool isDirectory = false;
  bool isVirtual = false;  // a folder that leads to the program folder, not on the host
};
// The entries of a Windows folder (real files and the folders that lead to the
// program folder); false when the folder does not exist.
bool ListFolder(const std::string& windowsFolder, std::vector<FolderEntry>* entries);

// True when name is a valid 8.3 name (and so is its own short name).
bool IsShortName(const std::string& name);

// Win32 wildcard match ('*', '?'), without regard to case.
bool MatchesWildcard(const std::string& pattern, const std::string& name);

// ASCII case folding, for names Windows compares without regard to case.
bool EqualNoCase(const std::string& a, const std::string& b);

}  // namespace orv::fs
