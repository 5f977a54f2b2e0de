// The Core Audio objects of the simulated build, made by the enumerator and by
// each other: a device (IMMDevice) names an endpoint by its ID and reads the rest
// from the provider when asked; its endpoint volume and property store likewise.
#pragma once
#include <endpointvolume.h>
#include <mmdeviceapi.h>

#include <string>
#include <vector>

namespace orv::audio {

// Each hands out the new object with one reference.
IMMDevice* MakeDevice(const std::u16string& id);
IMMDeviceCollection* MakeCollection(std::vector<std::u16string> ids);
IAudioEndpointVolume* MakeEndpointVolume(const std::u16string& id);
// A read-only store of the device's friendly name (PKEY_Device_FriendlyName).
IPropertyStore* MakePropertyStore(const std::u16string& friendlyName);

}  // namespace orv::audio
