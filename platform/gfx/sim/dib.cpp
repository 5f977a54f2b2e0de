// Device-independent bitmaps: GetDIBits in the formats a program asks for, and
// LoadBitmapA, which turns a bitmap resource (a BITMAPINFOHEADER, a colour
// table for 8 bits or fewer, the rows bottom-up) into a bitmap of the screen's
// format, as a device-dependent bitmap on a 32-bit display is.
#include <windows.h>

#include <algorithm>
#include <cstring>

#include "platform/gfx/sim/gdi.h"

namespace {

namespace gfx = orv::gfx;

int Stride(int width, int bits) { return ((width * bits + 31) / 32) * 4; }

void PutPixel(unsigned char* at, int bits, gfx::Pixel p) {
  const std::uint32_t rgb = gfx::Unpremultiply(p);
  const unsigned char r = (rgb >> 16) & 0xFF, g = (rgb >> 8) & 0xFF, b = rgb & 0xFF;
  if (bits == 16) {
    const std::uint16_t v = static_cast<std::uint16_t>(((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3));
    std::memcpy(at, &v, 2);
    return;
  }
  at[0] = b;
  at[1] = g;
  at[2] = r;
  if (bits == 32) at[3] = 0;
}

// The colour of pixel x of a resource row.
bool ResourcePixel(const unsigned char* row, int x, int bits, const RGBQUAD* table, DWORD tableSize, gfx::Pixel* out) {
  unsigned char r, g, b;
  if (bits == 24 || bits == 32) {
    const unsigned char* at = row + x * (bits / 8);
    b = at[0], g = at[1], r = at[2];
  } else if (bits == 8) {
    const unsigned index = row[x];
    if (index >= tableSize) return false;
    b = table[index].rgbBlue, g = table[index].rgbGreen, r = table[index].rgbRed;
  } else {
    return false;
  }
  *out = 0xFF000000u | (std::uint32_t(r) << 16) | (std::uint32_t(g) << 8) | b;
  return true;
}

}  // namespace

extern "C" {

int WINAPI GetDIBits(HDC hdc, HBITMAP hbm, UINT start, UINT cLines, LPVOID lpvBits, LPBITMAPINFO lpbmi, UINT usage) {
  const gfx::Surface* pixels = gfx::BitmapSurface(hbm);
  if (!gfx::DcSurface(hdc) || !pixels || !lpbmi || usage != DIB_RGB_COLORS ||
      lpbmi->bmiHeader.biSize < sizeof(BITMAPINFOHEADER))
    return 0;
  BITMAPINFOHEADER& h = lpbmi->bmiHeader;
  if (!lpvBits) {
    if (h.biBitCount == 0) {
      h.biWidth = pixels->width;
      h.biHeight = pixels->height;
      h.biPlanes = 1;
      h.biBitCount = 32;
      h.biCompression = BI_RGB;
      h.biSizeImage = static_cast<DWORD>(Stride(pixels->width, 32) * pixels->height);
      h.biClrUsed = h.biClrImportant = 0;
    }
    return 1;
  }
  const int bits = h.biBitCount;
  if ((bits != 16 && bits != 24 && bits != 32) || h.biCompression != BI_RGB || h.biWidth != pixels->width ||
      (h.biHeight != pixels->height && h.biHeight != -pixels->height))
    return 0;
  const bool bottomUp = h.biHeight > 0;
  const int height = pixels->height, stride = Stride(pixels->width, bits);
  if (start >= static_cast<UINT>(height)) return 0;
  const UINT lines = std::min<UINT>(cLines, static_cast<UINT>(height) - start);
  auto* out = static_cast<unsigned char*>(lpvBits);
  for (UINT i = 0; i < lines; ++i) {
    // Row i of the buffer is scan line start + i of the DIB.
    const int line = static_cast<int>(start + i);
    const int y = bottomUp ? height - 1 - line : line;
    unsigned char* row = out + static_cast<std::size_t>(i) * stride;
    std::memset(row, 0, static_cast<std::size_t>(stride));
    for (int x = 0; x < pixels->width; ++x) PutPixel(row + x * (bits / 8), bits, pixels->At(x, y));
  }
  return static_cast<int>(lines);
}

HBITMAP WINAPI LoadBitmapA(HINSTANCE hInstance, LPCSTR lpBitmapName) {
  HRSRC info = FindResourceA(hInstance, lpBitmapName, RT_BITMAP);
  HGLOBAL loaded = info ? LoadResource(hInstance, info) : nullptr;
  const auto* bytes = static_cast<const unsigned char*>(loaded ? LockResource(loaded) : nullptr);
  const DWORD size = info ? SizeofResource(hInstance, info) : 0;
  BITMAPINFOHEADER h;
  if (!bytes || size < sizeof h) {
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return nullptr;
  }
  std::memcpy(&h, bytes, sizeof h);
  const int width = h.biWidth, height = h.biHeight < 0 ? -h.biHeight : h.biHeight;
  const int bits = h.biBitCount;
  const DWORD tableSize = bits <= 8 ? (h.biClrUsed ? h.biClrUsed : (1u << bits)) : 0;
  const std::size_t pixelsAt = h.biSize + tableSize * sizeof(RGBQUAD);
  const int stride = Stride(width, bits);
  if (h.biCompression != BI_RGB || width <= 0 || height <= 0 || width > 16384 || height > 16384 ||
      pixelsAt + static_cast<std::size_t>(stride) * height > size) {
    SetLastError(ERROR_INVALID_DATA);
    return nullptr;
  }
  const auto* table = reinterpret_cast<const RGBQUAD*>(bytes + h.biSize);
  gfx::Surface surface(width, height);
  for (int y = 0; y < height; ++y) {
    const int line = h.biHeight > 0 ? height - 1 - y : y;
    const unsigned char* row = bytes + pixelsAt + static_cast<std::size_t>(line) * stride;
    for (int x = 0; x < width; ++x)
      if (!ResourcePixel(row, x, bits, table, tableSize, &surface.At(x, y))) {
        SetLastError(ERROR_INVALID_DATA);
        return nullptr;
      }
  }
  return gfx::CreateBitmapFromSurface(std::move(surface));
}

}  // extern "C"
