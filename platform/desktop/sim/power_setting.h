// A power-setting broadcast made by hand: the request line "POWERSETTING
// {GUID} VALUE" sends every top-level window of the process that serves the
// desktop WM_POWERBROADCAST with PBT_POWERSETTINGCHANGE and a record of that
// setting holding the DWORD VALUE, as the system does for a setting it watches.
// Tests use it for settings that the simulated power source never reports.
#pragma once
#include <string>

namespace orv::desktop {

// The serving side: answers "OK\n" once the windows have handled it, "ERR <reason>\n"
// for a malformed line; false when the line is no POWERSETTING request.
bool PowerSettingReply(const std::string& request, std::string* reply);

}  // namespace orv::desktop
