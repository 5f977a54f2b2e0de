// The audio client's status codes (audioclient.h of the Windows SDK), for the
// simulated build: the errors the simulated endpoint interfaces answer.
#pragma once
#include <winerror.h>

#define FACILITY_AUDCLNT 2185
#define AUDCLNT_ERR(n) (static_cast<HRESULT>(0x80000000u | (FACILITY_AUDCLNT << 16) | (n)))

// The endpoint was removed, disabled or unplugged after the interface was made.
#define AUDCLNT_E_DEVICE_INVALIDATED AUDCLNT_ERR(0x004)
// The audio service does not run (here: the simulated notebook is not there).
#define AUDCLNT_E_SERVICE_NOT_RUNNING AUDCLNT_ERR(0x010)
