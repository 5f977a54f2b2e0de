// Win32 error numbers of the service control manager.
#pragma once
#include "platform/pipe/errors.h"

namespace orv::svc {
using namespace orv::pipe;


}  // namespace orv::svc
