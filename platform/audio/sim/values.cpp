// Property values of the provider's audio objects.
#include "platform/audio/sim/values.h"

#include <cstdint>
#include <cstring>

#include "platform/base/unique_com.h"

namespace orv::audio {

bool ReadNumber(IWbemClassObject* o, const OLECHAR* name, LONGLONG* out) {
  orv::unique_variant v;
  if (!o || FAILED(o->Get(name, 0, v.put(), nullptr, nullptr)) || v->vt == VT_NULL || v->vt == VT_BSTR ||
      FAILED(VariantChangeType(v.get(), v.get(), 0, VT_I8)))
    return false;
  *out = v->llVal;
  return true;
}

bool ReadText(IWbemClassObject* o, const OLECHAR* name, std::u16string* out) {
  orv::unique_variant v;
  if (!o || FAILED(o->Get(name, 0, v.put(), nullptr, nullptr)) || v->vt != VT_BSTR || !v->bstrVal) return false;
  out->assign(v->bstrVal, SysStringLen(v->bstrVal));
  return true;
}

float FloatFromBits(LONGLONG bits) {
  const auto raw = static_cast<std::uint32_t>(bits);
  float v;
  std::memcpy(&v, &raw, sizeof v);
  return v;
}

LONG FloatBits(float value) {
  std::uint32_t raw;
  std::memcpy(&raw, &value, sizeof raw);
  return static_cast<LONG>(raw);
}

}  // namespace orv::audio
