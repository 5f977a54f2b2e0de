// Compiling a resource script as windres does, for the statements the
// programs' scripts use: LANGUAGE; DIALOGEX with STYLE, EXSTYLE, CAPTION, FONT,
// CLASS, MENU and the controls LTEXT, CTEXT, RTEXT, PUSHBUTTON, DEFPUSHBUTTON,
// EDITTEXT, GROUPBOX, CHECKBOX, AUTOCHECKBOX, RADIOBUTTON, AUTORADIOBUTTON,
// ICON and CONTROL; ICON, BITMAP, RCDATA and resources of other types from files.
#pragma once
#include <string>
#include <vector>

#include "tools/orv-rc/rc_resource.h"

namespace orv::rc {

struct Compiled {
  std::vector<Resource> resources;
  std::vector<std::string> dependencies;  // the script, its headers and the files it names
};

// False with a message ("file:line: ...") on error.
bool CompileScript(const std::string& path, const std::vector<std::string>& includeDirs, Compiled* out,
                   std::string* error);

}  // namespace orv::rc
