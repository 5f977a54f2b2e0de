// The picture library's calls the tray program uses: start-up and shut-down,
// pictures from files and from bytes, ARGB canvases, drawing pictures (whole, at a
// size, or a part) and filling rectangles, and turning a canvas into a bitmap for
// a DC. Names, status values and ownership follow the Windows picture library that
// backs them in the Windows build. Pictures keep premultiplied pixels inside;
// Color values are straight 0xAARRGGBB as in the Windows library.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/gfx/gdi.h"
#include "platform/gfx/status.h"
#include "platform/gfx/surface.h"

namespace orv::gfx {

using ULONG_PTR = std::uintptr_t;
using UINT = std::uint32_t;
using INT = std::int32_t;
using ARGB = std::uint32_t;
using REAL = float;
using WCHAR = char16_t;

struct GdiplusStartupInput {
  UINT GdiplusVersion = 1;
  void* DebugEventCallback = nullptr;
  BOOL SuppressBackgroundThread = FALSE;
  BOOL SuppressExternalCodecs = FALSE;
};
struct GdiplusStartupOutput {
  void* NotificationHook = nullptr;
  void* NotificationUnhook = nullptr;
};

// Each successful start-up hands out its own token; objects can be made while at
// least one start-up is in force (GdiplusNotInitialized otherwise).
Status GdiplusStartup(ULONG_PTR* token, const GdiplusStartupInput* input,
                      GdiplusStartupOutput* output);
void GdiplusShutdown(ULONG_PTR token);

enum Unit { UnitWorld = 0, UnitDisplay = 1, UnitPixel = 2 };
using PixelFormat = INT;
constexpr PixelFormat PixelFormat32bppARGB = 0x0026200A;
constexpr PixelFormat PixelFormat32bppPARGB = 0x000E200B;

class Color {
 public:
  Color() = default;
  explicit Color(ARGB argb) : argb_(argb) {}
  Color(BYTE a, BYTE r, BYTE g, BYTE b)
      : argb_((ARGB(a) << 24) | (ARGB(r) << 16) | (ARGB(g) << 8) | b) {}
  ARGB GetValue() const { return argb_; }
  BYTE GetA() const { return argb_ >> 24; }

 private:
  ARGB argb_ = 0xFF000000;
};

struct Rect {
  INT X = 0, Y = 0, Width = 0, Height = 0;
  Rect() = default;
  Rect(INT x, INT y, INT w, INT h) : X(x), Y(y), Width(w), Height(h) {}
};

class Brush {
 public:
  virtual ~Brush() = default;
};
class SolidBrush : public Brush {
 public:
  explicit SolidBrush(const Color& colour) : colour_(colour) {}
  Color GetColor() const { return colour_; }

 private:
  Color colour_;
};

class Graphics;

// A picture. A failed load still gives an object: its GetLastStatus tells why and
// its size reads as 0 x 0, as in the Windows library.
class Image {
 public:
  virtual ~Image() = default;
  Image(const Image&) = delete;
  Image& operator=(const Image&) = delete;

  // Loads a PNG file given by its Windows path (platform/fs maps it); the colour
  // management flag is accepted and ignored. Never nullptr.
  static Image* FromFile(const WCHAR* filename, BOOL useEmbeddedColorManagement = FALSE);
  UINT GetWidth() const { return static_cast<UINT>(pixels_.width); }
  UINT GetHeight() const { return static_cast<UINT>(pixels_.height); }
  Status GetLastStatus() const { return status_; }
  // The pixels, for the platform layer (empty after a failed load).
  const Surface& Pixels() const { return pixels_; }

 protected:
  Image() = default;
  friend class Graphics;
  Surface pixels_;
  Status status_ = Ok;
};

class Bitmap : public Image {
 public:
  // A canvas, all transparent.
  Bitmap(INT width, INT height, PixelFormat format = PixelFormat32bppARGB);
  static Bitmap* FromFile(const WCHAR* filename, BOOL useEmbeddedColorManagement = FALSE);
  // Decodes PNG bytes (what a stream over a copy of a resource gives on Windows).
  static Bitmap* FromBytes(const void* data, std::size_t size);
  // A new bitmap object for DCs holding the canvas's pixels with their alpha,
  // premultiplied as a layered window needs them. A 32-bit ARGB canvas keeps its
  // own alpha: the background colour is not blended in. The caller owns the
  // HBITMAP (DeleteObject).
  Status GetHBITMAP(const Color& background, HBITMAP* out) const;
  Status GetPixel(INT x, INT y, Color* colour) const;

 private:
  Bitmap() = default;
};

class Graphics {
 public:
  // Draws on a picture's own pixels, or on the pixels selected into a DC.
  static Graphics* FromImage(Image* image);
  explicit Graphics(Image* image);
  explicit Graphics(HDC hdc);
  Status GetLastStatus() const { return status_; }

  // The point form: the picture in its own size.
  Status DrawImage(Image* image, INT x, INT y);
  // The picture scaled into the rectangle.
  Status DrawImage(Image* image, INT x, INT y, INT width, INT height);
  // The source rectangle of the picture scaled into the destination rectangle.
  // Parts of the source rectangle outside the picture draw nothing.
  Status DrawImage(Image* image, const Rect& dest, INT srcx, INT srcy, INT srcwidth,
                   INT srcheight, Unit srcUnit);
  Status FillRectangle(const Brush* brush, INT x, INT y, INT width, INT height);
  Status Clear(const Color& colour);

 private:
  Surface* Target(POINT* origin) const;
  Image* image_ = nullptr;
  HDC hdc_ = nullptr;
  Status status_ = Ok;
};

// Whether a start-up is in force (for the platform layer's own checks).
bool GdiplusStarted();

}  // namespace orv::gfx
