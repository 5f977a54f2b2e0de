// The device property keys (functiondiscoverykeys_devpkey.h of the Windows SDK),
// for the simulated build: the ones the simulated audio endpoints carry.
#pragma once
#include <propkeydef.h>

// The device's name as the sound settings show it, VT_LPWSTR:
// {a45c254e-df1c-4efd-8020-67d146a850e0}, 14.
extern "C" const PROPERTYKEY PKEY_Device_FriendlyName;
