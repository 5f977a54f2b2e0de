// audio-volume-changer: another program that changes the default endpoint's
// volume through Core Audio, for the tests.
//   audio-volume-changer set LEVEL [CONTEXT-GUID]   one change, then exits
//   audio-volume-changer flood                      changes it again and again until killed
#include <audioclient.h>
#include <endpointvolume.h>
#include <mmdeviceapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/audio/sim/endpoints.h"
#include "platform/base/unique_com.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: audio-volume-changer set LEVEL [CONTEXT-GUID] | flood\n");
    return 2;
  }
  CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  orv::com_ptr<IMMDeviceEnumerator> enumerator;
  orv::com_ptr<IMMDevice> device;
  orv::com_ptr<IAudioEndpointVolume> volume;
  HRESULT hr = CoCreateInstance(CLSID_MMDeviceEnumerator, nullptr, CLSCTX_ALL, IID_IMMDeviceEnumerator,
                                enumerator.put_void());
  if (SUCCEEDED(hr)) hr = enumerator->GetDefaultAudioEndpoint(eRender, eMultimedia, device.put());
  if (SUCCEEDED(hr)) hr = device->Activate(IID_IAudioEndpointVolume, CLSCTX_ALL, nullptr, volume.put_void());
  const std::string mode = argv[1];
  if (SUCCEEDED(hr) && mode == "set" && argc >= 3) {
    GUID context{};
    const bool hasContext = argc >= 4;
    if (hasContext) {
      std::string narrow = argv[3];
      orv::audio::ParseGuid(std::u16string(narrow.begin(), narrow.end()), &context);
    }
    hr = volume->SetMasterVolumeLevelScalar(std::strtof(argv[2], nullptr), hasContext ? &context : nullptr);
  } else if (SUCCEEDED(hr) && mode == "flood") {
    std::puts("flooding");
    std::fflush(stdout);
    for (unsigned i = 0; SUCCEEDED(hr) || hr == AUDCLNT_E_DEVICE_INVALIDATED; ++i)
      hr = volume->SetMasterVolumeLevelScalar(static_cast<float>(i % 101) / 100.0f, nullptr);
  }
  volume.reset();
  device.reset();
  enumerator.reset();
  CoUninitialize();
  if (FAILED(hr)) std::fprintf(stderr, "audio-volume-changer: 0x%08x\n", static_cast<unsigned>(hr));
  return FAILED(hr) ? 1 : 0;
}
