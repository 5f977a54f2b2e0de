// Pictures, canvases and drawing on top of the premultiplied surfaces.
#include "platform/gfx/gdiplus.h"

#include <atomic>
#include <mutex>
#include <set>
#include <string>

#include "platform/fs/sim/paths.h"
#include "platform/gfx/png.h"
#include "platform/text/sim/ansi.h"

namespace orv::gfx {
namespace {

std::mutex& TokenLock() {
  static std::mutex m;
  return m;
}
std::set<ULONG_PTR>& Tokens() {
  static std::set<ULONG_PTR> tokens;
  return tokens;
}

// A Windows path as this machine's path (see platform/fs/sim/paths.h); empty when
// this machine cannot have it.
std::string LocalPath(const WCHAR* filename) {
  orv::fs::MappedPath mapped = orv::fs::MapPath(orv::text::WideToAnsi(filename));
  return mapped.valid ? mapped.host : std::string();
}

}  // namespace

Status GdiplusStartup(ULONG_PTR* token, const GdiplusStartupInput* input,
                      GdiplusStartupOutput* output) {
  if (!token || !input) return InvalidParameter;
  if (input->GdiplusVersion != 1) return NotImplemented;
  if (input->SuppressBackgroundThread && !output) return InvalidParameter;
  static std::atomic<ULONG_PTR> next{1};
  std::lock_guard<std::mutex> lock(TokenLock());
  *token = next++;
  Tokens().insert(*token);
  if (output) *output = GdiplusStartupOutput{};
  return Ok;
}

void GdiplusShutdown(ULONG_PTR token) {
  std::lock_guard<std::mutex> lock(TokenLock());
  Tokens().erase(token);
}

bool GdiplusStarted() {
  std::lock_guard<std::mutex> lock(TokenLock());
  return !Tokens().empty();
}

Image* Image::FromFile(const WCHAR* filename, BOOL useEmbeddedColorManagement) {
  return Bitmap::FromFile(filename, useEmbeddedColorManagement);
}

Bitmap::Bitmap(INT width, INT height, PixelFormat format) {
  if (!GdiplusStarted()) {
    status_ = GdiplusNotInitialized;
  } else if (width <= 0 || height <= 0 ||
             (format != PixelFormat32bppARGB && format != PixelFormat32bppPARGB) ||
             static_cast<long long>(width) * height > kMaxPicturePixels) {
    status_ = InvalidParameter;
  } else {
    pixels_ = Surface(width, height);
  }
}

Bitmap* Bitmap::FromFile(const WCHAR* filename, BOOL) {
  auto* bitmap = new Bitmap;
  if (!GdiplusStarted())
    bitmap->status_ = GdiplusNotInitialized;
  else if (!filename || !*filename)
    bitmap->status_ = InvalidParameter;
  else if (std::string path = LocalPath(filename); path.empty())
    bitmap->status_ = FileNotFound;
  else
    bitmap->status_ = LoadPngFile(path, &bitmap->pixels_);
  return bitmap;
}

Bitmap* Bitmap::FromBytes(const void* data, std::size_t size) {
  auto* bitmap = new Bitmap;
  bitmap->status_ = GdiplusStarted() ? DecodePng(data, size, &bitmap->pixels_)
                                     : GdiplusNotInitialized;
  return bitmap;
}

Status Bitmap::GetHBITMAP(const Color&, HBITMAP* out) const {
  if (!out) return InvalidParameter;
  *out = nullptr;
  if (status_ != Ok || pixels_.Empty()) return status_ != Ok ? status_ : InvalidParameter;
  *out = CreateBitmapFromSurface(pixels_);
  return *out ? Ok : OutOfMemory;
}

Status Bitmap::GetPixel(INT x, INT y, Color* colour) const {
  if (!colour || !pixels_.Contains(x, y)) return InvalidParameter;
  *colour = Color(Unpremultiply(pixels_.At(x, y)));
  return Ok;
}

Graphics* Graphics::FromImage(Image* image) { return new Graphics(image); }

Graphics::Graphics(Image* image) : image_(image) {
  if (!GdiplusStarted()) status_ = GdiplusNotInitialized;
  else if (!image || image->GetLastStatus() != Ok || image->pixels_.Empty()) status_ = InvalidParameter;
}

Graphics::Graphics(HDC hdc) : hdc_(hdc) {
  if (!GdiplusStarted()) status_ = GdiplusNotInitialized;
  else if (!DcSurface(hdc)) status_ = InvalidParameter;
}

Surface* Graphics::Target(POINT* origin) const {
  *origin = POINT{0, 0};
  if (status_ != Ok) return nullptr;
  if (image_) return &image_->pixels_;
  return DcSurface(hdc_, origin);
}

Status Graphics::DrawImage(Image* image, INT x, INT y) {
  if (!image) return InvalidParameter;
  return DrawImage(image, x, y, image->pixels_.width, image->pixels_.height);
}

Status Graphics::DrawImage(Image* image, INT x, INT y, INT width, INT height) {
  if (!image) return InvalidParameter;
  return DrawImage(image, Rect(x, y, width, height), 0, 0, image->pixels_.width,
                   image->pixels_.height, UnitPixel);
}

Status Graphics::DrawImage(Image* image, const Rect& dest, INT srcx, INT srcy, INT srcwidth,
                           INT srcheight, Unit srcUnit) {
  POINT origin{0, 0};
  Surface* target = Target(&origin);
  if (!target) return status_ != Ok ? status_ : InvalidParameter;
  if (!image || image->GetLastStatus() != Ok || image->pixels_.Empty()) return InvalidParameter;
  if (srcUnit != UnitPixel) return NotImplemented;
  if (dest.Width <= 0 || dest.Height <= 0 || srcwidth <= 0 || srcheight <= 0)
    return InvalidParameter;
  BlendScaled(*target, IntRect{dest.X - origin.x, dest.Y - origin.y, dest.Width, dest.Height},
              image->pixels_, IntRect{srcx, srcy, srcwidth, srcheight});
  return Ok;
}

Status Graphics::FillRectangle(const Brush* brush, INT x, INT y, INT width, INT height) {
  POINT origin{0, 0};
  Surface* target = Target(&origin);
  if (!target) return status_ != Ok ? status_ : InvalidParameter;
  auto* solid = dynamic_cast<const SolidBrush*>(brush);
  if (!solid || width < 0 || height < 0) return InvalidParameter;
  FillRect(*target, x - origin.x, y - origin.y, width, height,
           Premultiply(solid->GetColor().GetValue()));
  return Ok;
}

Status Graphics::Clear(const Color& colour) {
  POINT origin{0, 0};
  Surface* target = Target(&origin);
  if (!target) return status_ != Ok ? status_ : InvalidParameter;
  std::fill(target->pixels.begin(), target->pixels.end(), Premultiply(colour.GetValue()));
  return Ok;
}

}  // namespace orv::gfx
