// Reading what windres writes with -O res: the resources of a .res file, so the
// resource compiler's output can be compared with the Windows build's.
#pragma once
#include <string>
#include <vector>

#include "tools/orv-rc/rc_resource.h"

namespace rctest {

// The windres program, or "" when it is not installed.
std::string WindresProgram();

// Runs windres on the script (its files also looked for in the folders given)
// into a .res file and reads it back. False with the tool's complaint in *error.
bool CompileWithWindres(const std::string& script, const std::vector<std::string>& includeDirs,
                        std::vector<orv::rc::Resource>* out, std::string* error);

}  // namespace rctest
