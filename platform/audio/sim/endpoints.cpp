// Reading Sim_AudioEndpoint and calling its methods through the WMI client, as a
// program would; the volume travels as the bits of its float.
#include "platform/audio/sim/endpoints.h"

#include <audioclient.h>
#include <wbemidl.h>

#include "platform/audio/sim/values.h"
#include "platform/base/sim/guid_text.h"
#include "platform/base/unique_com.h"
#include "platform/wmi/sim/local_wmi.h"

namespace orv::audio {
namespace {

constexpr OLECHAR kNamespace[] = OLESTR("root\\Sim");
constexpr OLECHAR kClass[] = OLESTR("Sim_AudioEndpoint");

HRESULT Connect(orv::com_ptr<IWbemServices>* services) {
  // Anything but a namespace that answers means the audio service is not there.
  return FAILED(wmi::ConnectNamespace(kNamespace, services)) ? AUDCLNT_E_SERVICE_NOT_RUNNING : S_OK;
}

bool Parse(IWbemClassObject* o, EndpointInfo* e) {
  LONGLONG state = 0, isDefault = 0, bits = 0, mute = 0, channels = 0;
  if (!ReadText(o, OLESTR("DeviceId"), &e->id) || !ReadText(o, OLESTR("FriendlyName"), &e->name) ||
      !ReadNumber(o, OLESTR("State"), &state) || !ReadNumber(o, OLESTR("IsDefault"), &isDefault) ||
      !ReadNumber(o, OLESTR("VolumeBits"), &bits) || !ReadNumber(o, OLESTR("Mute"), &mute) ||
      !ReadNumber(o, OLESTR("Channels"), &channels))
    return false;
  e->state = static_cast<DWORD>(state);
  e->isDefault = isDefault != 0;
  e->volume = FloatFromBits(bits);
  e->mute = mute != 0;
  e->channels = static_cast<UINT>(channels);
  return true;
}

// Calls SetMasterVolume or SetMute on the endpoint with its one argument.
HRESULT CallSetter(const std::u16string& id, const OLECHAR* method, const OLECHAR* argument, VARIANT* value,
                   LPCGUID context) {
  if (id.find_first_of(u"\"\\") != std::u16string::npos) return E_NOTFOUND;
  wmi::ComScope com;
  orv::com_ptr<IWbemServices> services;
  HRESULT hr = Connect(&services);
  if (FAILED(hr)) return hr;
  orv::com_ptr<IWbemClassObject> cls, definition, in;
  hr = services->GetObject(orv::make_bstr(kClass).get(), 0, nullptr, cls.put(), nullptr);
  if (SUCCEEDED(hr)) hr = cls->GetMethod(method, 0, definition.put(), nullptr);
  if (SUCCEEDED(hr)) hr = definition->SpawnInstance(0, in.put());
  if (SUCCEEDED(hr)) hr = in->Put(argument, 0, value, 0);
  orv::unique_variant contextText;
  if (SUCCEEDED(hr) && context) {
    contextText->vt = VT_BSTR;
    contextText->bstrVal = SysAllocString(GuidText(*context).c_str());
    hr = in->Put(OLESTR("Context"), 0, contextText.get(), 0);
  }
  if (FAILED(hr)) return AUDCLNT_E_SERVICE_NOT_RUNNING;
  const std::u16string path = std::u16string(kClass) + u".DeviceId=\"" + id + u"\"";
  hr = services->ExecMethod(orv::make_bstr(path.c_str()).get(), orv::make_bstr(method).get(), 0, nullptr, in.get(),
                            nullptr, nullptr);
  // An ID that names no endpoint is not found; the endpoint's own answers pass on.
  return hr == static_cast<HRESULT>(WBEM_E_NOT_FOUND) ? E_NOTFOUND : hr;
}

}  // namespace

HRESULT ReadEndpoints(std::vector<EndpointInfo>* out) {
  out->clear();
  wmi::ComScope com;
  orv::com_ptr<IWbemServices> services;
  HRESULT hr = Connect(&services);
  if (FAILED(hr)) return hr;
  orv::com_ptr<IEnumWbemClassObject> results;
  const std::u16string query = std::u16string(u"Select * from ") + kClass;
  if (FAILED(services->ExecQuery(orv::make_bstr(OLESTR("WQL")).get(), orv::make_bstr(query.c_str()).get(),
                                 WBEM_FLAG_RETURN_IMMEDIATELY | WBEM_FLAG_FORWARD_ONLY, nullptr, results.put())))
    return AUDCLNT_E_SERVICE_NOT_RUNNING;
  for (;;) {
    orv::com_ptr<IWbemClassObject> object;
    ULONG got = 0;
    if (results->Next(WBEM_INFINITE, 1, object.put(), &got) != WBEM_S_NO_ERROR || got != 1) break;
    EndpointInfo e;
    if (!Parse(object.get(), &e)) return AUDCLNT_E_SERVICE_NOT_RUNNING;
    out->push_back(std::move(e));
  }
  return S_OK;
}

HRESULT ReadEndpoint(const std::u16string& id, EndpointInfo* out) {
  std::vector<EndpointInfo> all;
  HRESULT hr = ReadEndpoints(&all);
  if (FAILED(hr)) return hr;
  for (EndpointInfo& e : all) {
    if (e.id != id) continue;
    *out = std::move(e);
    return S_OK;
  }
  return E_NOTFOUND;
}

HRESULT ReadActiveEndpoint(const std::u16string& id, EndpointInfo* out) {
  HRESULT hr = ReadEndpoint(id, out);
  if (hr == E_NOTFOUND || (SUCCEEDED(hr) && out->state != DEVICE_STATE_ACTIVE)) return AUDCLNT_E_DEVICE_INVALIDATED;
  return hr;
}

HRESULT WriteVolume(const std::u16string& id, float level, LPCGUID context) {
  orv::unique_variant bits;
  bits->vt = VT_I4;
  bits->lVal = FloatBits(level);
  return CallSetter(id, OLESTR("SetMasterVolume"), OLESTR("VolumeBits"), bits.get(), context);
}

HRESULT WriteMute(const std::u16string& id, bool mute, LPCGUID context) {
  orv::unique_variant flag;
  flag->vt = VT_BOOL;
  flag->boolVal = mute ? VARIANT_TRUE : VARIANT_FALSE;
  return CallSetter(id, OLESTR("SetMute"), OLESTR("Mute"), flag.get(), context);
}

std::u16string GuidText(const GUID& g) {
  const std::string text = base::GuidText(g);
  return std::u16string(text.begin(), text.end());
}

bool ParseGuid(const std::u16string& text, GUID* out) {
  std::string narrow;
  for (char16_t c : text) {
    if (c > 0x7F) return false;
    narrow.push_back(static_cast<char>(c));
  }
  return base::ParseGuid(narrow, out);
}

}  // namespace orv::audio
