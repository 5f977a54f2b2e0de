// Program files with an icon of the test program's own resources, for the
// tests that need a program with an icon on the simulated drive.
#pragma once
#include <string>

namespace traytest {

// The bytes of a program file whose first icon is the icon group `id` of the
// test program's resources (its RT_GROUP_ICON and RT_ICON entries).
std::string ProgramFileWithIcon(int id);

}  // namespace traytest
