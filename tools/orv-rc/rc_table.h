// Writing compiled resources as a C++ source: the table the simulated build
// links into the program (platform/module/sim/resource_table.h).
#pragma once
#include <string>
#include <vector>

#include "tools/orv-rc/rc_resource.h"

namespace orv::rc {

std::string ResourceTableSource(const std::string& scriptName, const std::vector<Resource>& resources);

}  // namespace orv::rc
