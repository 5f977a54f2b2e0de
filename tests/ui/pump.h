// Running the calling thread's messages (and the hook calls that come with
// them) until a condition holds, for at most a generous time.
#pragma once
#include <windows.h>

#include <chrono>
#include <functional>

namespace uitest {

// False when the time ran out first.
bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = std::chrono::seconds(10));

}  // namespace uitest
