// A minimal Windows program file (a PE32 image with only a resource section)
// holding one icon group, for the tests that need a program with an icon on
// the simulated drive.
#pragma once
#include <string>

namespace traytest {

// The bytes of a program file whose first icon is the icon resource `id` of
// the test program's own resources (its RT_GROUP_ICON and RT_ICON entries).
std::string ProgramFileWithIcon(int id);

}  // namespace traytest
