// Operating-system version for this machine, configurable for tests.
#include "platform/sysinfo/version.h"

#include <cstdio>
#include <cstdlib>

namespace orv::sysinfo {

bool GetVersionEx(OsVersion* out) {
  if (!out) return false;
  *out = OsVersion{6, 0, 6002};
  if (const char* env = std::getenv("ORV_OS_VERSION"); env && *env) {
    unsigned major = 0, minor = 0;
    char tail = 0;
    if (std::sscanf(env, "%u.%u%c", &major, &minor, &tail) != 2) return false;
    out->major = major;
    out->minor = minor;
  }
  return true;
}

}  // namespace orv::sysinfo
