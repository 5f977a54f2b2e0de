// The simulation's own picture calls (PNG files, screenshots) answer with the
// picture library's status values, so the library passes them through.
#pragma once
#include <windows.h>
#include <gdiplus.h>

namespace orv::gfx {

using Status = Gdiplus::Status;
using Gdiplus::AccessDenied;
using Gdiplus::Aborted;
using Gdiplus::FileNotFound;
using Gdiplus::GenericError;
using Gdiplus::InvalidParameter;
using Gdiplus::Ok;
using Gdiplus::OutOfMemory;
using Gdiplus::UnknownImageFormat;
using Gdiplus::ValueOverflow;
using Gdiplus::Win32Error;

}  // namespace orv::gfx
