// What the drawing layer's files share: the table of live GDI objects. Not for use outside platform/gfx.
#pragma once
#include <vector>

#include "platform/gfx/gdi.h"

namespace orv::gfx {

namespace detail {

void RegisterObject(GdiObject* object);
// Adds an object to the table of live handles and returns it.
template <class T>
T* Register(T* object) {
  RegisterObject(object);
  return object;
}
bool IsLive(GdiObject* object);
void Unregister(GdiObject* object);

}  // namespace detail
}  // namespace orv::gfx
