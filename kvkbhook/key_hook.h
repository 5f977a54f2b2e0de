// The keyboard hook: a low-level keyboard hook that reports the notebook's
// volume and brightness keys to the program's main window by posting the
// registered message "KB_HOOK_MESSAGE", the key's scan code in bits 16..23 of
// lParam (as a key message carries it).
#pragma once
#include <windows.h>

namespace kbhook {

// Whether a key is one the hook reports: the volume keys (scan codes 0x20, 0x2E,
// 0x30) and the brightness keys (0x77, 0x78), all extended keys.
bool IsReportedKey(const KBDLLHOOKSTRUCT& key);

// Finds the program's main window by its title among the process's windows and
// installs the hook for the module. False when there is no such window or the
// hook cannot be installed (then nothing is installed).
bool Install(HMODULE module, const char* programTitle);
// Removes the hook; nothing is posted afterwards.
void Remove();

}  // namespace kbhook
