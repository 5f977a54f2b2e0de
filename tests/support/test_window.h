// Windows for tests that need one to receive messages: a top-level window of
// the calling thread with the given procedure (each procedure gets a class of
// its own, registered on first use).
#pragma once
#include <windows.h>

namespace orv::test {

HWND CreateTestWindow(WNDPROC proc, const char* title = "", DWORD style = WS_POPUP, RECT rect = RECT{0, 0, 0, 0});

}  // namespace orv::test
