// The GDI text calls on the simulated DCs (TextOut, GetTextExtentPoint32,
// DrawText and the DC's colours), drawn in the dialog font.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/gfx/sim/font.h"
#include "platform/gfx/sim/gdi.h"
#include "platform/gfx/sim/gdi_object.h"

using namespace orv::gfx;
using orv::gfx::detail::AsDc;

namespace {

const FontSpec kDcFont{PointsToPixels(8), false};

Pixel Opaque(COLORREF c) { return 0xFF000000u | ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF); }

std::string Slice(LPCSTR text, int count) {
  if (!text) return std::string();
  return count < 0 ? std::string(text) : std::string(text, static_cast<std::size_t>(count));
}

// One line drawn at logical (x, y) on the DC, its background first when opaque.
void DrawLine(DeviceContext* dc, int x, int y, const std::string& line, const IntRect* clip) {
  POINT origin{0, 0};
  Surface* s = DcSurface(reinterpret_cast<HDC>(dc), &origin);
  if (!s) return;
  x -= origin.x;
  y -= origin.y;
  IntRect area = clip ? IntRect{clip->x - origin.x, clip->y - origin.y, clip->w, clip->h}
                      : IntRect{0, 0, s->width, s->height};
  if (dc->backMode == OPAQUE) {
    const int w = TextWidth(kDcFont, line), h = MeasureFont(kDcFont).height;
    const int x0 = std::max(x, area.x), y0 = std::max(y, area.y);
    const int x1 = std::min(x + w, area.x + area.w), y1 = std::min(y + h, area.y + area.h);
    if (x1 > x0 && y1 > y0) FillRect(*s, x0, y0, x1 - x0, y1 - y0, Opaque(dc->backColour));
  }
  DrawTextLine(*s, x, y, line, Opaque(dc->textColour), kDcFont, area);
}

}  // namespace

extern "C" {

COLORREF WINAPI SetTextColor(HDC hdc, COLORREF color) {
  DeviceContext* dc = AsDc(hdc);
  if (!dc) return CLR_INVALID;
  std::swap(dc->textColour, color);
  return color;
}

COLORREF WINAPI GetTextColor(HDC hdc) {
  DeviceContext* dc = AsDc(hdc);
  return dc ? dc->textColour : CLR_INVALID;
}

COLORREF WINAPI SetBkColor(HDC hdc, COLORREF color) {
  DeviceContext* dc = AsDc(hdc);
  if (!dc) return CLR_INVALID;
  std::swap(dc->backColour, color);
  return color;
}

int WINAPI SetBkMode(HDC hdc, int mode) {
  DeviceContext* dc = AsDc(hdc);
  if (!dc || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
  std::swap(dc->backMode, mode);
  return mode;
}

int WINAPI GetBkMode(HDC hdc) {
  DeviceContext* dc = AsDc(hdc);
  return dc ? dc->backMode : 0;
}

BOOL WINAPI TextOutA(HDC hdc, int x, int y, LPCSTR lpString, int c) {
  DeviceContext* dc = AsDc(hdc);
  if (!dc || (!lpString && c > 0) || c < 0) return FALSE;
  DrawLine(dc, x, y, Slice(lpString, c), nullptr);
  return TRUE;
}

BOOL WINAPI GetTextExtentPoint32A(HDC hdc, LPCSTR lpString, int c, LPSIZE psizl) {
  if (!AsDc(hdc) || !psizl || c < 0 || (!lpString && c > 0)) return FALSE;
  psizl->cx = TextWidth(kDcFont, Slice(lpString, c));
  psizl->cy = MeasureFont(kDcFont).height;
  return TRUE;
}

int WINAPI DrawTextA(HDC hdc, LPCSTR lpchText, int cchText, LPRECT lprc, UINT format) {
  DeviceContext* dc = AsDc(hdc);
  if (!dc || !lprc || !lpchText) return 0;
  std::string text = Slice(lpchText, cchText);
  if (!(format & DT_NOPREFIX)) text = WithoutMnemonics(text);
  const int width = lprc->right - lprc->left, lineHeight = MeasureFont(kDcFont).height;
  std::vector<std::string> lines;
  if (format & DT_SINGLELINE) lines.push_back(text);
  else if (format & DT_WORDBREAK) lines = WrapText(kDcFont, text, width);
  else lines = WrapText(kDcFont, text, 1 << 30);  // line breaks only
  const int height = lineHeight * static_cast<int>(lines.size());
  if (format & DT_CALCRECT) {
    int widest = 0;
    for (const std::string& line : lines) widest = std::max(widest, TextWidth(kDcFont, line));
    if (!(format & DT_WORDBREAK) || lines.size() <= 1) lprc->right = lprc->left + widest;
    lprc->bottom = lprc->top + height;
    return height;
  }
  int y = lprc->top;
  if ((format & DT_SINGLELINE) && (format & DT_VCENTER)) y = lprc->top + (lprc->bottom - lprc->top - lineHeight) / 2;
  else if ((format & DT_SINGLELINE) && (format & DT_BOTTOM)) y = lprc->bottom - lineHeight;
  IntRect clip{lprc->left, lprc->top, width, lprc->bottom - lprc->top};
  for (const std::string& line : lines) {
    const int w = TextWidth(kDcFont, line);
    const int x = (format & DT_CENTER) ? lprc->left + (width - w) / 2 : (format & DT_RIGHT) ? lprc->right - w : lprc->left;
    DrawLine(dc, x, y, line, (format & DT_NOCLIP) ? nullptr : &clip);
    y += lineHeight;
  }
  return height;
}

}  // extern "C"
