// Window changes that the simulated desktop follows: observers are called on the
// thread that made the change, after the change, without any lock held.
#pragma once
#include <windows.h>

#include <functional>

namespace orv::ui {

enum class WindowEvent { Created, Destroyed, Moved, Shown, Hidden, TextChanged };
using WindowObserver = std::function<void(HWND, WindowEvent)>;
int AddWindowObserver(WindowObserver observer);  // returns a cookie
void RemoveWindowObserver(int cookie);

// Called on a window's thread each time one of its window procedures has handled
// a message, without any lock held: what the window draws may have changed in
// ways no WindowEvent tells (a button pushed, the focus moved, a menu's item
// lit). One observer per process, cheap to call; null stops it.
using HandledObserver = void (*)();
void SetHandledObserver(HandledObserver observer);

}  // namespace orv::ui

