// The exports "Hook" and "UnHook" of the keyboard-hook library (listed in
// KvKBHook.def for the Windows build, exports.map for the simulated one).
#include <windows.h>

#include "kvkbhook/key_hook.h"

// Called once by the program with the library's module, 0 and its product name,
// which is also its main window's title.
extern "C" void Hook(HMODULE module, int, const char* product) { kbhook::Install(module, product); }

// Called once as the program ends, before it frees the library.
extern "C" void UnHook() { kbhook::Remove(); }
