// Sim_AudioEndpoint and Sim_AudioEvent, built from the sound state and mapped onto
// the firmware's audio operations.
#include "sim/audio_catalog.h"

#include <cstring>

#include "platform/text/sim/ansi.h"
#include "platform/wmi/sim/cim.h"
#include "sim/catalog_objects.h"

namespace orv::sim {

using com::Value;
using wmi::wire::Method;
using wmi::wire::Object;
using wmi::wire::Property;
using wmi::wire::SameName;

namespace {

// The status of an endpoint interface whose device has gone (AUDCLNT_E_DEVICE_INVALIDATED).
constexpr HRESULT kDeviceInvalidated = static_cast<HRESULT>(0x88890004);

const char* const kIds[kAudioEndpoints] = {"{0.0.0.00000000}.{5b1f0c2e-7a44-4d38-9b1e-0e4f3c8a6d11}",
                                           "{0.0.0.00000000}.{8c2d5e90-1f37-4b6a-a2c4-7d9e6b3f0a22}"};
const char* const kNames[kAudioEndpoints] = {"Speakers (Orv High Definition Audio)",
                                             "Headphones (Orv High Definition Audio)"};

std::int64_t Bits(float v) {
  std::uint32_t bits;
  std::memcpy(&bits, &v, sizeof bits);
  return bits;
}

float FromBits(std::uint32_t bits) {
  float v;
  std::memcpy(&v, &bits, sizeof v);
  return v;
}

Method Setter(const char* name, const char* argument, CIMTYPE type) {
  Method m;
  m.name = name;
  m.in = {Prop(argument, type, Value::Null(), false), Prop("Context", CIM_STRING, Value::Null(), false)};
  return m;
}

// An argument of the method call in its CIM type; false when missing, null or of another type.
bool Argument(const Object* in, const char* name, CIMTYPE type, Value* out) {
  const Property* p = in ? in->Find(name) : nullptr;
  return p && SUCCEEDED(wmi::detail::ToCim(p->value, type, out)) && out->vt != VT_NULL;
}

}  // namespace

std::string AudioEndpointId(int endpoint) { return kIds[endpoint]; }

std::vector<Object> AudioEndpoints(const char* ns, const AudioState& a) {
  std::vector<Object> out;
  for (int e = 0; e < kAudioEndpoints; ++e) {
    Object o = MakeObject(ns, kAudioEndpointClass);
    o.props.push_back(Text("DeviceId", kIds[e], true));
    o.props.push_back(Text("FriendlyName", kNames[e]));
    o.props.push_back(Number("State", CIM_UINT32, DeviceState(a, e)));
    o.props.push_back(Number("IsDefault", CIM_BOOLEAN, a.defaultEndpoint == e));
    o.props.push_back(Number("VolumeBits", CIM_UINT32, Bits(a.endpoint[e].volume)));
    o.props.push_back(Number("Mute", CIM_BOOLEAN, a.endpoint[e].mute));
    o.props.push_back(Number("Channels", CIM_UINT8, 2));
    o.methods = {Setter("SetMasterVolume", "VolumeBits", CIM_UINT32), Setter("SetMute", "Mute", CIM_BOOLEAN)};
    out.push_back(std::move(o));
  }
  return out;
}

HRESULT AudioMethod(Firmware& fw, int endpoint, const std::string& method, const Object* in) {
  const bool volume = SameName(method, "SetMasterVolume");
  if (!volume && !SameName(method, "SetMute")) return WBEM_E_INVALID_METHOD;
  Value level, context;
  if (!Argument(in, volume ? "VolumeBits" : "Mute", volume ? CIM_UINT32 : CIM_BOOLEAN, &level))
    return WBEM_E_INVALID_METHOD_PARAMETERS;
  // The context may be left out (no context); present, it must be text.
  const Property* c = in->Find("Context");
  if (c && c->value.vt != VT_NULL && !Argument(in, "Context", CIM_STRING, &context))
    return WBEM_E_INVALID_METHOD_PARAMETERS;
  const std::string contextText = context.vt == VT_BSTR ? text::WideToAnsi(context.str) : std::string();
  if (!fw.State().audio.endpoint[endpoint].present) return kDeviceInvalidated;
  if (!volume && !fw.SetMute(endpoint, level.num != 0, contextText)) return WBEM_E_FAILED;
  if (!volume) return WBEM_S_NO_ERROR;
  // A uint32 comes as VT_I4: the same 32 bits.
  const float v = FromBits(static_cast<std::uint32_t>(level.num));
  if (!fw.SetVolume(endpoint, v, contextText)) return E_INVALIDARG;
  return WBEM_S_NO_ERROR;
}

Object AudioEventObject(const char* ns, const AudioNote& n) {
  Object o = MakeObject(ns, kAudioEventClass);
  const bool none = n.endpoint < 0 || n.endpoint >= kAudioEndpoints;
  o.props.push_back(Number("Change", CIM_UINT8, n.change));
  o.props.push_back(Text("DeviceId", none ? "" : kIds[n.endpoint]));
  o.props.push_back(Number("State", CIM_UINT32, n.state));
  o.props.push_back(Number("VolumeBits", CIM_UINT32, Bits(n.volume)));
  o.props.push_back(Number("Mute", CIM_BOOLEAN, n.mute));
  o.props.push_back(Text("Context", n.context));
  o.props.push_back(Number("Role", CIM_UINT8, n.role));
  return o;
}

}  // namespace orv::sim
