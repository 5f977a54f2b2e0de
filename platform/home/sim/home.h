// The one state folder every program of the system shares on this machine:
// $ORV_HOME, or a per-user runtime folder when it is not set.
#pragma once
#include <string>

namespace orv::home {

// The state folder, created (mode 0700) if it does not exist yet.
std::string Root();

// A path below the state folder: Path("pipe") is "<root>/pipe".
std::string Path(const std::string& relative);

// Creates a folder and its parents with the given mode; true if it exists afterwards.
bool MakeDirs(const std::string& path, unsigned mode = 0700);

}  // namespace orv::home
