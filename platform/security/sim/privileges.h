// The process token's privileges as the rest of the simulated system checks them.
#pragma once

namespace orv::security {

// Whether the process has enabled its shutdown privilege (AdjustTokenPrivileges).
bool ShutdownPrivilegeEnabled();

}  // namespace orv::security
