// The picture library on top of the premultiplied surfaces: start-up tokens,
// pictures decoded from PNG files, canvases, and drawing on pictures and DCs.
#include <gdiplus.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "platform/fs/sim/paths.h"
#include "platform/gfx/sim/gdi.h"
#include "platform/gfx/sim/png.h"
#include "platform/text/sim/ansi.h"

namespace Gdiplus {

// A picture's pixels, premultiplied.
class GpImage {
 public:
  orv::gfx::Surface pixels;
  PixelFormat format = PixelFormat32bppARGB;
};

// Where a graphics object draws: a picture's pixels or a DC's.
class GpGraphics {
 public:
  GpImage* image = nullptr;
  HDC hdc = nullptr;
};

}  // namespace Gdiplus

using namespace Gdiplus;
namespace gfx = orv::gfx;

namespace {

std::mutex& TokenLock() {
  static std::mutex m;
  return m;
}
std::set<ULONG_PTR>& Tokens() {
  static std::set<ULONG_PTR> tokens;
  return tokens;
}

bool Started() {
  std::lock_guard<std::mutex> lock(TokenLock());
  return !Tokens().empty();
}

// A Windows path as this machine's path (see platform/fs/sim/paths.h); empty when
// this machine cannot have it.
std::string LocalPath(const WCHAR* filename) {
  orv::fs::MappedPath mapped = orv::fs::MapPath(orv::text::WideToAnsi(filename));
  return mapped.valid ? mapped.host : std::string();
}

// Loads a picture file into *image (left nullptr on failure).
Status Load(const WCHAR* filename, GpImage** image) {
  *image = nullptr;
  if (!Started()) return GdiplusNotInitialized;
  if (!filename || !*filename) return InvalidParameter;
  std::string path = LocalPath(filename);
  if (path.empty()) return FileNotFound;
  auto* loaded = new GpImage;
  Status s = gfx::LoadPngFile(path, &loaded->pixels);
  if (s != Ok) {
    delete loaded;
    return s;
  }
  *image = loaded;
  return Ok;
}

// Decodes the rest of a stream into *image (left nullptr on failure).
Status LoadStream(IStream* stream, GpImage** image) {
  *image = nullptr;
  if (!Started()) return GdiplusNotInitialized;
  if (!stream) return InvalidParameter;
  std::vector<unsigned char> bytes;
  unsigned char chunk[16384];
  for (;;) {
    ULONG got = 0;
    if (FAILED(stream->Read(chunk, sizeof chunk, &got))) return Win32Error;
    if (got == 0) break;
    bytes.insert(bytes.end(), chunk, chunk + got);
    if (bytes.size() > static_cast<std::size_t>(gfx::kMaxPicturePixels) * 4) return ValueOverflow;
  }
  auto* loaded = new GpImage;
  Status s = gfx::DecodePng(bytes.data(), bytes.size(), &loaded->pixels);
  if (s != Ok) {
    delete loaded;
    return s;
  }
  *image = loaded;
  return Ok;
}

gfx::Surface* Target(const GpGraphics* g, POINT* origin) {
  *origin = POINT{0, 0};
  if (!g) return nullptr;
  if (g->image) return &g->image->pixels;
  return gfx::DcSurface(g->hdc, origin);
}

}  // namespace

Status WINAPI Gdiplus::GdiplusStartup(ULONG_PTR* token, const GdiplusStartupInput* input,
                                      GdiplusStartupOutput* output) {
  if (!token || !input) return InvalidParameter;
  if (input->GdiplusVersion != 1) return UnsupportedGdiplusVersion;
  if (input->SuppressBackgroundThread && !output) return InvalidParameter;
  static std::atomic<ULONG_PTR> next{1};
  std::lock_guard<std::mutex> lock(TokenLock());
  *token = next++;
  Tokens().insert(*token);
  if (output) *output = GdiplusStartupOutput();
  return Ok;
}

VOID WINAPI Gdiplus::GdiplusShutdown(ULONG_PTR token) {
  std::lock_guard<std::mutex> lock(TokenLock());
  Tokens().erase(token);
}

SolidBrush::SolidBrush(const Color& color) : colour(color) {
  if (!Started()) lastStatus = GdiplusNotInitialized;
}

Status SolidBrush::GetColor(Color* color) const {
  if (!color) return lastStatus = InvalidParameter;
  *color = colour;
  return Ok;
}

Status SolidBrush::SetColor(const Color& color) {
  colour = color;
  return Ok;
}

Image* Image::FromFile(const WCHAR* filename, BOOL useEmbeddedColorManagement) {
  return new Image(filename, useEmbeddedColorManagement);
}

Image::Image(const WCHAR* filename, BOOL) : nativeImage(nullptr), lastStatus(Ok) {
  lastStatus = Load(filename, &nativeImage);
}

Image* Image::FromStream(IStream* stream, BOOL useEmbeddedColorManagement) {
  return new Image(stream, useEmbeddedColorManagement);
}

Image::Image(IStream* stream, BOOL) : nativeImage(nullptr), lastStatus(Ok) { lastStatus = LoadStream(stream, &nativeImage); }

Image::~Image() { delete nativeImage; }

UINT Image::GetWidth() {
  if (!nativeImage) {
    updateStatus(InvalidParameter);
    return 0;
  }
  return static_cast<UINT>(nativeImage->pixels.width);
}

UINT Image::GetHeight() {
  if (!nativeImage) {
    updateStatus(InvalidParameter);
    return 0;
  }
  return static_cast<UINT>(nativeImage->pixels.height);
}

PixelFormat Image::GetPixelFormat() {
  if (!nativeImage) {
    updateStatus(InvalidParameter);
    return 0;
  }
  return nativeImage->format;
}

Bitmap* Bitmap::FromFile(const WCHAR* filename, BOOL useEmbeddedColorManagement) {
  return new Bitmap(filename, useEmbeddedColorManagement);
}

Bitmap::Bitmap(const WCHAR* filename, BOOL) : Image(nullptr, Ok) { lastStatus = Load(filename, &nativeImage); }

Bitmap* Bitmap::FromStream(IStream* stream, BOOL useEmbeddedColorManagement) {
  return new Bitmap(stream, useEmbeddedColorManagement);
}

Bitmap::Bitmap(IStream* stream, BOOL) : Image(nullptr, Ok) { lastStatus = LoadStream(stream, &nativeImage); }

Bitmap::Bitmap(INT width, INT height, PixelFormat format) : Image(nullptr, Ok) {
  if (!Started()) {
    lastStatus = GdiplusNotInitialized;
  } else if (width <= 0 || height <= 0 || (format != PixelFormat32bppARGB && format != PixelFormat32bppPARGB) ||
             static_cast<long long>(width) * height > gfx::kMaxPicturePixels) {
    lastStatus = InvalidParameter;
  } else {
    nativeImage = new GpImage;
    nativeImage->pixels = gfx::Surface(width, height);
    nativeImage->format = format;
  }
}

Status Bitmap::GetHBITMAP(const Color&, HBITMAP* hbmReturn) const {
  if (!hbmReturn) return updateStatus(InvalidParameter);
  *hbmReturn = nullptr;
  if (!nativeImage || nativeImage->pixels.Empty()) return updateStatus(InvalidParameter);
  *hbmReturn = gfx::CreateBitmapFromSurface(nativeImage->pixels);
  return updateStatus(*hbmReturn ? Ok : OutOfMemory);
}

Status Bitmap::GetPixel(INT x, INT y, Color* color) const {
  if (!color || !nativeImage || !nativeImage->pixels.Contains(x, y)) return updateStatus(InvalidParameter);
  *color = Color(gfx::Unpremultiply(nativeImage->pixels.At(x, y)));
  return Ok;
}

Status Bitmap::SetPixel(INT x, INT y, const Color& color) {
  if (!nativeImage || !nativeImage->pixels.Contains(x, y)) return updateStatus(InvalidParameter);
  nativeImage->pixels.At(x, y) = gfx::Premultiply(color.GetValue());
  return Ok;
}

Graphics::Graphics(HDC hdc) : nativeGraphics(nullptr), lastStatus(Ok) {
  if (!Started()) {
    lastStatus = GdiplusNotInitialized;
  } else if (!gfx::DcSurface(hdc)) {
    lastStatus = InvalidParameter;
  } else {
    nativeGraphics = new GpGraphics;
    nativeGraphics->hdc = hdc;
  }
}

Graphics::Graphics(Image* image) : nativeGraphics(nullptr), lastStatus(Ok) {
  if (!Started()) {
    lastStatus = GdiplusNotInitialized;
  } else if (!image || !image->nativeImage || image->nativeImage->pixels.Empty()) {
    lastStatus = InvalidParameter;
  } else {
    nativeGraphics = new GpGraphics;
    nativeGraphics->image = image->nativeImage;
  }
}

Graphics::~Graphics() { delete nativeGraphics; }

Status Graphics::Clear(const Color& color) {
  POINT origin;
  gfx::Surface* target = Target(nativeGraphics, &origin);
  if (!target) return updateStatus(InvalidParameter);
  std::fill(target->pixels.begin(), target->pixels.end(), gfx::Premultiply(color.GetValue()));
  return Ok;
}

Status Graphics::DrawImage(Image* image, INT x, INT y) {
  if (!image || !image->nativeImage) return updateStatus(InvalidParameter);
  return DrawImage(image, x, y, image->nativeImage->pixels.width, image->nativeImage->pixels.height);
}

Status Graphics::DrawImage(Image* image, INT x, INT y, INT width, INT height) {
  return DrawImage(image, Rect(x, y, width, height));
}

Status Graphics::DrawImage(Image* image, const Rect& rect) {
  if (!image || !image->nativeImage) return updateStatus(InvalidParameter);
  return DrawImage(image, rect, 0, 0, image->nativeImage->pixels.width, image->nativeImage->pixels.height,
                   UnitPixel);
}

Status Graphics::DrawImage(Image* image, const Rect& destRect, INT srcx, INT srcy, INT srcwidth, INT srcheight,
                           Unit srcUnit, const ImageAttributes*, DrawImageAbort, VOID*) {
  POINT origin;
  gfx::Surface* target = Target(nativeGraphics, &origin);
  if (!target || !image || !image->nativeImage || image->nativeImage->pixels.Empty())
    return updateStatus(InvalidParameter);
  if (srcUnit != UnitPixel) return updateStatus(NotImplemented);
  if (destRect.Width <= 0 || destRect.Height <= 0 || srcwidth <= 0 || srcheight <= 0)
    return updateStatus(InvalidParameter);
  gfx::BlendScaled(*target, gfx::IntRect{destRect.X - origin.x, destRect.Y - origin.y, destRect.Width, destRect.Height},
                   image->nativeImage->pixels, gfx::IntRect{srcx, srcy, srcwidth, srcheight});
  return Ok;
}

Status Graphics::FillRectangle(const Brush* brush, INT x, INT y, INT width, INT height) {
  POINT origin;
  gfx::Surface* target = Target(nativeGraphics, &origin);
  auto* solid = dynamic_cast<const SolidBrush*>(brush);
  if (!target || !solid || width < 0 || height < 0) return updateStatus(InvalidParameter);
  gfx::FillRect(*target, x - origin.x, y - origin.y, width, height, gfx::Premultiply(solid->colour.GetValue()));
  return Ok;
}

Status Graphics::FillRectangle(const Brush* brush, const Rect& rect) {
  return FillRectangle(brush, rect.X, rect.Y, rect.Width, rect.Height);
}
