// Reading a bitmap's pixels in its own format and collecting the runs that
// differ from the key colour into region data.
#include "tray/dialogs/RegionFromBitmap.h"

#include <cstring>
#include <vector>

#include "platform/base/unique_handle.h"

namespace {

constexpr DWORD kGrowBy = 40;

// The key colour as a 16-bit pixel (5-5-5).
WORD Key16(COLORREF key) {
  return static_cast<WORD>(((GetRValue(key) >> 3) << 10) | ((GetGValue(key) >> 3) << 5) | (GetBValue(key) >> 3));
}

bool IsKey(const BYTE* row, int x, int bits, const RGBQUAD* table, COLORREF key) {
  switch (bits) {
    case 8: {
      const RGBQUAD& c = table[row[x]];
      return RGB(c.rgbRed, c.rgbGreen, c.rgbBlue) == key;
    }
    case 16: {
      WORD v;
      std::memcpy(&v, row + x * 2, 2);
      return v == Key16(key);
    }
    default: {
      const BYTE* p = row + x * (bits / 8);
      return RGB(p[2], p[1], p[0]) == key;
    }
  }
}

}  // namespace

HRGN RegionFromBitmap(HBITMAP bitmap, COLORREF key, int* width, int* height) {
  BITMAP info{};
  if (!GetObjectA(bitmap, sizeof info, &info)) return nullptr;
  const int w = info.bmWidth, h = info.bmHeight;
  *width = w;
  *height = h;
  orv::unique_window_dc screen(nullptr);
  if (!screen) return nullptr;

  // The header first (the bitmap's own format), then the rows with it.
  std::vector<BYTE> header(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD), 0);
  auto* bmi = reinterpret_cast<BITMAPINFO*>(header.data());
  bmi->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  if (!GetDIBits(screen.get(), bitmap, 0, static_cast<UINT>(h), nullptr, bmi, DIB_RGB_COLORS)) return nullptr;
  const int bits = bmi->bmiHeader.biBitCount;
  if (bits != 8 && bits != 16 && bits != 24 && bits != 32) return nullptr;
  bmi->bmiHeader.biCompression = BI_RGB;
  const int stride = ((w * bits + 31) / 32) * 4;
  std::vector<BYTE> pixels(static_cast<std::size_t>(stride) * h);
  if (GetDIBits(screen.get(), bitmap, 0, static_cast<UINT>(h), pixels.data(), bmi, DIB_RGB_COLORS) != h)
    return nullptr;
  const RGBQUAD* table = bmi->bmiColors;

  DWORD room = static_cast<DWORD>(h);
  std::vector<BYTE> data(sizeof(RGNDATAHEADER) + room * sizeof(RECT));
  DWORD count = 0;
  auto add = [&](LONG x0, LONG y, LONG x1) {
    if (count == room) {
      room += kGrowBy;
      data.resize(sizeof(RGNDATAHEADER) + room * sizeof(RECT));
    }
    const RECT r{x0, y, x1, y + 1};
    std::memcpy(data.data() + sizeof(RGNDATAHEADER) + count * sizeof(RECT), &r, sizeof r);
    ++count;
  };
  for (int y = 0; y < h; ++y) {
    const BYTE* row = pixels.data() + static_cast<std::size_t>(h - 1 - y) * stride;  // bottom-up rows
    int x = 0;
    while (x < w) {
      while (x < w && IsKey(row, x, bits, table, key)) ++x;
      const int x0 = x;
      while (x < w && !IsKey(row, x, bits, table, key)) ++x;
      if (x > x0) add(x0, y, x);  // a run reaching the right edge ends there, its last pixel in
    }
  }
  RGNDATAHEADER rdh{};
  rdh.dwSize = sizeof(RGNDATAHEADER);
  rdh.iType = RDH_RECTANGLES;
  rdh.nCount = count;
  rdh.nRgnSize = count * sizeof(RECT);
  rdh.rcBound = RECT{0, 0, w, h};
  std::memcpy(data.data(), &rdh, sizeof rdh);
  return ExtCreateRegion(nullptr, static_cast<DWORD>(sizeof(RGNDATAHEADER) + count * sizeof(RECT)),
                         reinterpret_cast<const RGNDATA*>(data.data()));
}
