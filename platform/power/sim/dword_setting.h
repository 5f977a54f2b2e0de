// One record of PBT_POWERSETTINGCHANGE whose data is a single DWORD, laid out
// as POWERBROADCAST_SETTING with its data in place: what the simulated system's
// power-setting broadcasts carry.
#pragma once
#include <windows.h>

#include <cstddef>

namespace orv::power {

struct DwordSetting {
  GUID PowerSetting;
  DWORD DataLength;
  DWORD Data;
};
static_assert(offsetof(DwordSetting, Data) == offsetof(POWERBROADCAST_SETTING, Data),
              "the record's data follows its length as in POWERBROADCAST_SETTING");

}  // namespace orv::power
