// What the simulated COM's objects need to know about the calling thread's
// apartment and the process's security, and what tests may ask about them.
#pragma once

namespace orv::com {

// True when the calling thread is in an apartment (either model).
bool ComReady();
// How deep the calling thread's COM initialisation is (0 outside every apartment);
// lets tests check that every CoInitialize was balanced.
int ComInitDepth();
// COM settles default process security at the first connection to a server when
// the program has not; a later CoInitializeSecurity is then too late.
void EnsureSecurityInitialised();

}  // namespace orv::com
