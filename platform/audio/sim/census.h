// What a test may ask the simulated Core Audio about this process: how many of
// its objects are alive and how many notification interfaces are registered,
// so that every reference and registration a program takes can be seen given
// back; and which device changes a process has been told of.
#pragma once
#include <atomic>

#include "platform/wmi/sim/com_object.h"

namespace orv::audio {

// Enumerators, devices, collections, endpoint volumes and property stores alive.
int LiveObjects();
// IMMNotificationClient and IAudioEndpointVolumeCallback registrations held.
int ClientRegistrations();
int VolumeRegistrations();

// The state folder's record of device changes this backend has told all of a
// process's clients of: "<pid> state|added|removed|default", a line each.
constexpr const char* kDeliveredFile = "audio-delivered.txt";

std::atomic<int>& LiveObjectCount();

// A Core Audio object of this backend, counted while it lives.
template <class I, const IID& kIid>
class CountedObject : public com::ComObject<I, kIid> {
 protected:
  CountedObject() { ++LiveObjectCount(); }
  ~CountedObject() override { --LiveObjectCount(); }
};

}  // namespace orv::audio
