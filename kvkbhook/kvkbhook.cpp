// The exports "Hook" and "UnHook" of the keyboard-hook library.
#include <windows.h>

#include <memory>

#include "kvkbhook/key_watch.h"

namespace {
std::unique_ptr<kbhook::KeyWatch> g_watch;
}  // namespace

// Called once by the program with the library's module, 0 and its product name,
// which is also its main window's title.
extern "C" __attribute__((visibility("default"))) void Hook(HMODULE module, int, const char* product) {
  (void)module;
  if (g_watch || !product) return;
  g_watch = std::make_unique<kbhook::KeyWatch>();
  if (!g_watch->Start(product)) g_watch.reset();
}

extern "C" __attribute__((visibility("default"))) void UnHook() { g_watch.reset(); }
