// The simulated build's <wbemidl.h>: the WMI client interfaces (wbemcli.h).
#pragma once
#include <wbemcli.h>
