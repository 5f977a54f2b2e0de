// The simulated build's <gdiplus.h>: the picture library's start-up and
// shut-down, pictures from PNG files, ARGB canvases, drawing pictures (whole, at
// a size, or a part) and filling rectangles, and turning a canvas into a GDI
// bitmap. The classes, methods, overloads, status values and pixel formats are
// those of the SDK's namespace Gdiplus, so the same program text compiles
// against either. Pictures keep premultiplied pixels inside; Color values are
// straight 0xAARRGGBB, as on Windows.
#pragma once
#include "windef.h"
#include "wingdi.h"
#include <objidl.h>

namespace Gdiplus {

typedef float REAL;
typedef DWORD ARGB;
typedef INT PixelFormat;

typedef enum GpStatus {
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
  FontFamilyNotFound = 14,
  FontStyleNotFound = 15,
  NotTrueTypeFont = 16,
  UnsupportedGdiplusVersion = 17,
  GdiplusNotInitialized = 18,
  PropertyNotFound = 19,
  PropertyNotSupported = 20,
  ProfileNotFound = 21
} GpStatus;
typedef GpStatus Status;

typedef enum Unit {
  UnitWorld = 0,
  UnitDisplay = 1,
  UnitPixel = 2,
  UnitPoint = 3,
  UnitInch = 4,
  UnitDocument = 5,
  UnitMillimeter = 6
} Unit;

#define PixelFormatAlpha ((INT)0x00040000)
#define PixelFormatPAlpha ((INT)0x00080000)
#define PixelFormatGDI ((INT)0x00020000)
#define PixelFormatCanonical ((INT)0x00200000)
#define PixelFormat32bppRGB ((INT)(9 | (32 << 8) | PixelFormatGDI))
#define PixelFormat32bppARGB ((INT)(10 | (32 << 8) | PixelFormatAlpha | PixelFormatGDI | PixelFormatCanonical))
#define PixelFormat32bppPARGB ((INT)(11 | (32 << 8) | PixelFormatAlpha | PixelFormatPAlpha | PixelFormatGDI))

// Start-up and shut-down. Each successful start-up hands out its own token;
// objects can be made while at least one start-up is in force, and answer
// GdiplusNotInitialized otherwise.
typedef enum DebugEventLevel { DebugEventLevelFatal, DebugEventLevelWarning } DebugEventLevel;
typedef VOID(WINAPI* DebugEventProc)(DebugEventLevel level, CHAR* message);
typedef Status(WINAPI* NotificationHookProc)(ULONG_PTR* token);
typedef VOID(WINAPI* NotificationUnhookProc)(ULONG_PTR token);

struct GdiplusStartupInput {
  UINT GdiplusVersion;
  DebugEventProc DebugEventCallback;
  BOOL SuppressBackgroundThread;
  BOOL SuppressExternalCodecs;
  GdiplusStartupInput(DebugEventProc debugEventCallback = NULL, BOOL suppressBackgroundThread = FALSE,
                      BOOL suppressExternalCodecs = FALSE)
      : GdiplusVersion(1),
        DebugEventCallback(debugEventCallback),
        SuppressBackgroundThread(suppressBackgroundThread),
        SuppressExternalCodecs(suppressExternalCodecs) {}
};

struct GdiplusStartupOutput {
  NotificationHookProc NotificationHook;
  NotificationUnhookProc NotificationUnhook;
  GdiplusStartupOutput() : NotificationHook(NULL), NotificationUnhook(NULL) {}
};

extern "C" {
// Version 1 only (UnsupportedGdiplusVersion otherwise); suppressing the
// background thread needs the output record.
Status WINAPI GdiplusStartup(ULONG_PTR* token, const GdiplusStartupInput* input, GdiplusStartupOutput* output);
VOID WINAPI GdiplusShutdown(ULONG_PTR token);
}

struct Point {
  INT X;
  INT Y;
  Point() : X(0), Y(0) {}
  Point(INT x, INT y) : X(x), Y(y) {}
};

struct Rect {
  INT X;
  INT Y;
  INT Width;
  INT Height;
  Rect() : X(0), Y(0), Width(0), Height(0) {}
  Rect(INT x, INT y, INT width, INT height) : X(x), Y(y), Width(width), Height(height) {}
  INT GetLeft() const { return X; }
  INT GetTop() const { return Y; }
  INT GetRight() const { return X + Width; }
  INT GetBottom() const { return Y + Height; }
  BOOL IsEmptyArea() const { return Width <= 0 || Height <= 0; }
  BOOL Contains(INT x, INT y) const { return X <= x && Y <= y && x < X + Width && y < Y + Height; }
};

class Color {
 public:
  static ARGB MakeARGB(BYTE a, BYTE r, BYTE g, BYTE b) {
    return (static_cast<ARGB>(a) << 24) | (static_cast<ARGB>(r) << 16) | (static_cast<ARGB>(g) << 8) |
           static_cast<ARGB>(b);
  }
  static const ARGB AlphaMask = 0xFF000000;

  Color() : Value(0xFF000000) {}
  Color(ARGB argb) : Value(argb) {}
  Color(BYTE r, BYTE g, BYTE b) : Value(MakeARGB(0xFF, r, g, b)) {}
  Color(BYTE a, BYTE r, BYTE g, BYTE b) : Value(MakeARGB(a, r, g, b)) {}

  BYTE GetA() const { return static_cast<BYTE>(Value >> 24); }
  BYTE GetAlpha() const { return GetA(); }
  BYTE GetR() const { return static_cast<BYTE>(Value >> 16); }
  BYTE GetRed() const { return GetR(); }
  BYTE GetG() const { return static_cast<BYTE>(Value >> 8); }
  BYTE GetGreen() const { return GetG(); }
  BYTE GetB() const { return static_cast<BYTE>(Value); }
  BYTE GetBlue() const { return GetB(); }
  ARGB GetValue() const { return Value; }
  VOID SetValue(ARGB argb) { Value = argb; }
  VOID SetFromCOLORREF(COLORREF rgb) { Value = MakeARGB(0xFF, GetRValue(rgb), GetGValue(rgb), GetBValue(rgb)); }
  COLORREF ToCOLORREF() const { return RGB(GetRed(), GetGreen(), GetBlue()); }

 private:
  ARGB Value;
};

// The objects behind the classes, kept by the library.
class GpImage;
class GpGraphics;
class ImageAttributes;
typedef BOOL(CALLBACK* ImageAbort)(VOID*);
typedef ImageAbort DrawImageAbort;

class Brush {
 public:
  virtual ~Brush() {}
  // The last failure's status, once: reading it resets it to Ok.
  Status GetLastStatus() const {
    Status result = lastStatus;
    lastStatus = Ok;
    return result;
  }

 protected:
  Brush() : lastStatus(Ok) {}
  mutable Status lastStatus;

 private:
  Brush(const Brush&);
  Brush& operator=(const Brush&);
};

class SolidBrush : public Brush {
 public:
  SolidBrush(const Color& color);
  Status GetColor(Color* color) const;
  Status SetColor(const Color& color);

 private:
  friend class Graphics;
  Color colour;
};

class Image {
 public:
  // A picture from a file given by its Windows path (PNG here); the colour
  // management flag is accepted and ignored. A failed load still gives an
  // object: its GetLastStatus tells why and its size reads as 0 x 0.
  static Image* FromFile(const WCHAR* filename, BOOL useEmbeddedColorManagement = FALSE);
  Image(const WCHAR* filename, BOOL useEmbeddedColorManagement = FALSE);
  // A picture from the rest of a stream (PNG here), read from its position.
  static Image* FromStream(IStream* stream, BOOL useEmbeddedColorManagement = FALSE);
  Image(IStream* stream, BOOL useEmbeddedColorManagement = FALSE);
  virtual ~Image();

  UINT GetWidth();
  UINT GetHeight();
  PixelFormat GetPixelFormat();
  // The last failure's status, once: reading it resets it to Ok.
  Status GetLastStatus() const {
    Status result = lastStatus;
    lastStatus = Ok;
    return result;
  }

 protected:
  friend class Graphics;
  friend class Bitmap;
  Image(GpImage* image, Status status) : nativeImage(image), lastStatus(status) {}
  Status updateStatus(Status newStatus) const {
    if (newStatus != Ok) lastStatus = newStatus;
    return newStatus;
  }
  GpImage* nativeImage;
  mutable Status lastStatus;

 private:
  Image(const Image&);
  Image& operator=(const Image&);
};

class Bitmap : public Image {
 public:
  static Bitmap* FromFile(const WCHAR* filename, BOOL useEmbeddedColorManagement = FALSE);
  Bitmap(const WCHAR* filename, BOOL useEmbeddedColorManagement = FALSE);
  static Bitmap* FromStream(IStream* stream, BOOL useEmbeddedColorManagement = FALSE);
  Bitmap(IStream* stream, BOOL useEmbeddedColorManagement = FALSE);
  // A canvas, all transparent: PixelFormat32bppARGB or PixelFormat32bppPARGB.
  Bitmap(INT width, INT height, PixelFormat format = PixelFormat32bppARGB);

  // A new GDI bitmap holding the picture's pixels with their alpha,
  // premultiplied as a layered window takes them: a canvas with alpha keeps it,
  // so the background colour is not blended in. The caller owns the HBITMAP
  // (DeleteObject).
  Status GetHBITMAP(const Color& colorBackground, HBITMAP* hbmReturn) const;
  Status GetPixel(INT x, INT y, Color* color) const;
  Status SetPixel(INT x, INT y, const Color& color);

 private:
  Bitmap(const Bitmap&);
  Bitmap& operator=(const Bitmap&);
};

class Graphics {
 public:
  static Graphics* FromHDC(HDC hdc) { return new Graphics(hdc); }
  static Graphics* FromImage(Image* image) { return new Graphics(image); }
  // Draws on the bitmap selected into a memory DC, or on a window's DC.
  Graphics(HDC hdc);
  // Draws on a picture's own pixels.
  Graphics(Image* image);
  ~Graphics();

  Status Clear(const Color& color);
  // The picture in its own size at (x, y).
  Status DrawImage(Image* image, INT x, INT y);
  // The picture scaled into the rectangle.
  Status DrawImage(Image* image, INT x, INT y, INT width, INT height);
  Status DrawImage(Image* image, const Rect& rect);
  // The source rectangle of the picture scaled into the destination rectangle,
  // in pixels (NotImplemented for other units). The parts of the source
  // rectangle outside the picture draw nothing.
  Status DrawImage(Image* image, const Rect& destRect, INT srcx, INT srcy, INT srcwidth, INT srcheight,
                   Unit srcUnit, const ImageAttributes* imageAttributes = NULL, DrawImageAbort callback = NULL,
                   VOID* callbackData = NULL);
  Status FillRectangle(const Brush* brush, INT x, INT y, INT width, INT height);
  Status FillRectangle(const Brush* brush, const Rect& rect);
  // The last failure's status, once: reading it resets it to Ok.
  Status GetLastStatus() const {
    Status result = lastStatus;
    lastStatus = Ok;
    return result;
  }

 private:
  Graphics(const Graphics&);
  Graphics& operator=(const Graphics&);
  Status updateStatus(Status newStatus) const {
    if (newStatus != Ok) lastStatus = newStatus;
    return newStatus;
  }
  GpGraphics* nativeGraphics;
  mutable Status lastStatus;
};

}  // namespace Gdiplus
