// The desktop's side of the notebook's sleep and hibernation: the process that
// owns the desktop follows the notebook's system state (root\Sim:
// Sim_SystemPowerEvent). As the notebook goes to sleep or hibernates the screen
// goes dark and every top-level window of the process is posted WM_POWERBROADCAST
// PBT_APMSUSPEND; as it wakes the screen comes back and they are sent
// PBT_APMRESUMEAUTOMATIC. Not for use outside platform/desktop/sim.
#pragma once
#include <windows.h>

#include <vector>

namespace orv::desktop {

// The process's top-level windows, which the power broadcasts go to.
std::vector<HWND> TopLevelWindows();

// Starts following the notebook (again: nothing changes); the frame server calls
// it as the process takes the desktop.
void StartPowerWatch();
// Whether the screen is dark: the notebook sleeps or hibernates.
bool ScreenDark();

}  // namespace orv::desktop
