// The simulated build's <wingdi.h>: GDI device contexts, bitmaps and regions as
// the programs draw with them, and the blend record of layered windows. Bitmaps
// here are always 32 bits per pixel, premultiplied ARGB (0xAARRGGBB), which is
// what a layered window's per-pixel-alpha contents are on Windows.
//
// GetObject is not defined as a macro for GetObjectA here: the WMI interfaces
// have a method of that name. Program code calls GetObjectA by its full name.
#pragma once
#include "windef.h"

// GDI objects: distinct handle types, as the SDK declares them with STRICT; each
// converts to HGDIOBJ for SelectObject and DeleteObject.
typedef void* HGDIOBJ;
DECLARE_HANDLE(HDC);
DECLARE_HANDLE(HBITMAP);
DECLARE_HANDLE(HRGN);
DECLARE_HANDLE(HBRUSH);
DECLARE_HANDLE(HFONT);
DECLARE_HANDLE(HPEN);
DECLARE_HANDLE(HPALETTE);

// Raster operations of BitBlt.
#define SRCCOPY static_cast<DWORD>(0x00CC0020)
#define CLR_INVALID 0xFFFFFFFF
#define GDI_ERROR 0xFFFFFFFFL
#define HGDI_ERROR (reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-1)))

// Region kinds (the results of the region calls) and CombineRgn's modes.
#define ERROR 0
#define NULLREGION 1
#define SIMPLEREGION 2
#define COMPLEXREGION 3
#define RGN_ERROR ERROR
#define RGN_AND 1
#define RGN_OR 2
#define RGN_XOR 3
#define RGN_DIFF 4
#define RGN_COPY 5

#define OBJ_PEN 1
#define OBJ_BRUSH 2
#define OBJ_DC 3
#define OBJ_REGION 8
#define OBJ_BITMAP 7
#define OBJ_MEMDC 10

// Background modes of text.
#define TRANSPARENT 1
#define OPAQUE 2

typedef struct tagBITMAP {
  LONG bmType;
  LONG bmWidth;
  LONG bmHeight;
  LONG bmWidthBytes;
  WORD bmPlanes;
  WORD bmBitsPixel;
  LPVOID bmBits;
} BITMAP, *PBITMAP, *LPBITMAP;

typedef struct tagXFORM {
  FLOAT eM11;
  FLOAT eM12;
  FLOAT eM21;
  FLOAT eM22;
  FLOAT eDx;
  FLOAT eDy;
} XFORM, *PXFORM, *LPXFORM;

#define RDH_RECTANGLES 1
typedef struct _RGNDATAHEADER {
  DWORD dwSize;
  DWORD iType;
  DWORD nCount;
  DWORD nRgnSize;
  RECT rcBound;
} RGNDATAHEADER, *PRGNDATAHEADER;
typedef struct _RGNDATA {
  RGNDATAHEADER rdh;
  char Buffer[1];
} RGNDATA, *PRGNDATA, *LPRGNDATA;

// Device-independent bitmaps.
#define BI_RGB 0L
#define BI_BITFIELDS 3L
#define DIB_RGB_COLORS 0
#define DIB_PAL_COLORS 1
typedef struct tagRGBQUAD {
  BYTE rgbBlue;
  BYTE rgbGreen;
  BYTE rgbRed;
  BYTE rgbReserved;
} RGBQUAD;
typedef struct tagBITMAPINFOHEADER {
  DWORD biSize;
  LONG biWidth;
  LONG biHeight;
  WORD biPlanes;
  WORD biBitCount;
  DWORD biCompression;
  DWORD biSizeImage;
  LONG biXPelsPerMeter;
  LONG biYPelsPerMeter;
  DWORD biClrUsed;
  DWORD biClrImportant;
} BITMAPINFOHEADER, *LPBITMAPINFOHEADER, *PBITMAPINFOHEADER;
typedef struct tagBITMAPINFO {
  BITMAPINFOHEADER bmiHeader;
  RGBQUAD bmiColors[1];
} BITMAPINFO, *LPBITMAPINFO, *PBITMAPINFO;

// How a layered window's contents blend with the screen.
#define AC_SRC_OVER 0x00
#define AC_SRC_ALPHA 0x01
typedef struct _BLENDFUNCTION {
  BYTE BlendOp;
  BYTE BlendFlags;
  BYTE SourceConstantAlpha;
  BYTE AlphaFormat;
} BLENDFUNCTION, *PBLENDFUNCTION;

extern "C" {

// A memory DC compatible with hdc (NULL: with the screen), holding the stock
// 1 x 1 bitmap. Release with DeleteDC.
HDC WINAPI CreateCompatibleDC(HDC hdc);
BOOL WINAPI DeleteDC(HDC hdc);
// A cx x cy bitmap, all transparent black; NULL for a size that is not positive
// or too large. Release with DeleteObject.
HBITMAP WINAPI CreateCompatibleBitmap(HDC hdc, int cx, int cy);
// Selects a bitmap into a memory DC and returns the one selected before; NULL
// when hdc is not a memory DC or the bitmap is selected in another DC.
HGDIOBJ WINAPI SelectObject(HDC hdc, HGDIOBJ h);
// FALSE for a handle that is not a live object, and for a bitmap still selected
// into a DC (it then stays alive).
BOOL WINAPI DeleteObject(HGDIOBJ ho);
// A bitmap's BITMAP record: the bytes written, or the record's size when pv is
// NULL; 0 for anything else.
int WINAPI GetObjectA(HANDLE h, int c, LPVOID pv);
// The bitmap's pixels, rows top first, 4 bytes B, G, R, A each; the bytes copied.
LONG WINAPI GetBitmapBits(HBITMAP hbit, LONG cb, LPVOID lpvBits);
// Copies a rectangle; only SRCCOPY is supported (FALSE otherwise).
BOOL WINAPI BitBlt(HDC hdc, int x, int y, int cx, int cy, HDC hdcSrc, int x1, int y1, DWORD rop);
// The pixel's colour (alpha dropped), CLR_INVALID outside the bitmap.
COLORREF WINAPI GetPixel(HDC hdc, int x, int y);
// Moves the logical origin: logical (x, y) is then device (0, 0).
BOOL WINAPI SetWindowOrgEx(HDC hdc, int x, int y, LPPOINT lppt);
// The logical rectangle that drawing on the DC can reach; SIMPLEREGION, or
// NULLREGION when it is empty, ERROR for a bad DC.
int WINAPI GetClipBox(HDC hdc, LPRECT lprect);

// Device-independent pixels of a bitmap. With lpvBits NULL and biBitCount 0
// the header is filled in (the bitmap's size, 32 bits, BI_RGB, the image
// size); with lpvBits the rows start..start + cLines - 1 (counted from the
// bottom for a positive biHeight, from the top for a negative one) are copied
// in the header's format: 32 or 24 bits (B, G, R), or 16 bits (5-5-5), each
// row padded to 4 bytes. Returns the rows copied (nonzero for a header
// filled in), 0 on failure. Only DIB_RGB_COLORS.
int WINAPI GetDIBits(HDC hdc, HBITMAP hbm, UINT start, UINT cLines, LPVOID lpvBits, LPBITMAPINFO lpbmi, UINT usage);

// Text, in the DC's font: the simulated dialog font (8 points, a Latin sans
// face with a CJK face for what it lacks), in the DC's text colour; an OPAQUE
// background fills the text's cell with the background colour first.
COLORREF WINAPI SetTextColor(HDC hdc, COLORREF color);
COLORREF WINAPI GetTextColor(HDC hdc);
COLORREF WINAPI SetBkColor(HDC hdc, COLORREF color);
// The mode before, 0 for a bad DC or a mode other than TRANSPARENT and OPAQUE.
int WINAPI SetBkMode(HDC hdc, int mode);
int WINAPI GetBkMode(HDC hdc);
// c bytes of lpString with the cell's top-left corner at (x, y).
BOOL WINAPI TextOutA(HDC hdc, int x, int y, LPCSTR lpString, int c);
BOOL WINAPI GetTextExtentPoint32A(HDC hdc, LPCSTR lpString, int c, LPSIZE psizl);

// Regions: sets of rectangles that give a window its shape (SetWindowRgn),
// released with DeleteObject unless a window has taken them over.
HRGN WINAPI CreateRectRgn(int x1, int y1, int x2, int y2);
// The region of the rectangles in lpData; nCount is its size in bytes. The
// transform must be NULL here. NULL for malformed data.
HRGN WINAPI ExtCreateRegion(const XFORM* lpx, DWORD nCount, const RGNDATA* lpData);
// Sets hrgnDst to the combination of the two sources (hrgnSrc2 unused for
// RGN_COPY); the result's kind, or RGN_ERROR.
int WINAPI CombineRgn(HRGN hrgnDst, HRGN hrgnSrc1, HRGN hrgnSrc2, int iMode);
BOOL WINAPI PtInRegion(HRGN hrgn, int x, int y);
// The bounding box; NULLREGION, SIMPLEREGION or COMPLEXREGION, RGN_ERROR for a
// bad handle.
int WINAPI GetRgnBox(HRGN hrgn, LPRECT lprc);
int WINAPI OffsetRgn(HRGN hrgn, int x, int y);

}  // extern "C"
