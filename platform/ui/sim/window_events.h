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

}  // namespace orv::ui

