// Request filtering and execution.
#include "service/request.h"

#include <windows.h>

#include <cstdio>
#include <string>

#include "library/OrvWmiAcpi.h"

namespace orv::service {
namespace {

// The field between the n-th and the (n+1)-th colon, split as the parser splits.
std::string Field(const std::string& line, int n) {
  std::size_t start = 0;
  for (int i = 0; i < n; ++i) {
    std::size_t colon = line.find(':', start);
    if (colon == std::string::npos) return std::string();
    start = colon + 1;
  }
  std::size_t end = line.find(':', start);
  return line.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

}  // namespace

bool SetAllowed(const char* command) {
  std::string line = command;
  std::size_t c1 = line.find(':');
  // Without a second colon there is no op code and the parser refuses the line itself.
  if (c1 == std::string::npos || line.find(':', c1 + 1) == std::string::npos || Field(line, 1) != "S") return true;
  std::string cls = Field(line, 2);
  return lstrcmpiA(Field(line, 0).c_str(), "root\\WMI") == 0 && cls.size() >= 4 &&
         lstrcmpiA(cls.substr(0, 4).c_str(), "Orv_") == 0;
}

void RunRequest(const char* request, char* reply, std::size_t replySize) {
  if (!SetAllowed(request)) {
    std::snprintf(reply, replySize, "%s", "WBEM_E_ACCESS_DENIED");
    return;
  }
  COrvWmiAcpi wmi;  // initialises COM on this thread for the one request
  wmi.CallOrvWmiAcpiParser(request, reply, replySize);
}

}  // namespace orv::service
