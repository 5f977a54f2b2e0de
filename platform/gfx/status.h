// Result codes of the picture and drawing calls, numbered as the Windows picture
// library numbers its Status values so the Windows build can pass them through.
#pragma once

namespace orv::gfx {

enum Status {
  Ok = 0,
  GenericError = 1,
  InvalidParameter = 2,
  OutOfMemory = 3,
  ObjectBusy = 4,
  InsufficientBuffer = 5,
  NotImplemented = 6,
  Win32Error = 7,
  WrongState = 8,
  Aborted = 9,
  FileNotFound = 10,
  ValueOverflow = 11,
  AccessDenied = 12,
  UnknownImageFormat = 13,
  GdiplusNotInitialized = 18,
};

}  // namespace orv::gfx
