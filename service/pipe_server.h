// The pipe server: runs command strings for the clients of the service's pipe.
#pragma once
#include <windows.h>

namespace orv::service {

// Creates the pipe ("\\.\pipe\simple" unless "-pipe <name>" is among the
// arguments) and serves one client at a time until ServiceStop is called.
void ServiceStart(DWORD argc, LPSTR* argv);

// Signals the server's stop event; safe from any thread, at any time.
void ServiceStop();

}  // namespace orv::service
