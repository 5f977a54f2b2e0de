// Reading the provider's audio objects: numbers and texts of their properties,
// and volumes, which travel as the bits of their float.
#pragma once
#include <wbemidl.h>

#include <string>

namespace orv::audio {

// False when the object lacks the property or it holds no number.
bool ReadNumber(IWbemClassObject* object, const OLECHAR* name, LONGLONG* out);
// False when the object lacks the property or it holds no text.
bool ReadText(IWbemClassObject* object, const OLECHAR* name, std::u16string* out);

float FloatFromBits(LONGLONG bits);
LONG FloatBits(float value);

}  // namespace orv::audio
