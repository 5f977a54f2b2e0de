// The operating system's version as GetVersionEx reports it.
#pragma once
#include <cstdint>

namespace orv::sysinfo {

struct OsVersion {
  std::uint32_t major = 0;
  std::uint32_t minor = 0;
  std::uint32_t build = 0;
};

// This machine reports itself as the version the system was made for (6.0) unless
// ORV_OS_VERSION ("5.1", "6.0", ...) says otherwise; false if that text is malformed.
bool GetVersionEx(OsVersion* out);

}  // namespace orv::sysinfo
