// A machine start as the service control manager makes it (orv-scm boot).
#pragma once
#include <string>

namespace orv::svc {

// Starts every automatic service that is not running. Returns the number started;
// failures are written to *failures (one line each) if given.
int StartAutomaticServices(std::string* failures = nullptr);

}  // namespace orv::svc
