// The window shape of a picture: every pixel that is not the key colour, as
// one-row rectangles of the runs of such pixels.
#pragma once
#include <windows.h>

// The region (the caller owns it), and the bitmap's size into *width and
// *height; NULL when the bitmap cannot be read.
HRGN RegionFromBitmap(HBITMAP bitmap, COLORREF key, int* width, int* height);
