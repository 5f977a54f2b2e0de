// The string comparison that the SDK declares in winbase.h (a partial header of the
// simulated build's winbase.h).
#pragma once
#include "windef.h"

extern "C" {

// Compares without regard to letter case: below zero, zero or above zero as
// lpString1 sorts before, with or after lpString2. Letters are folded as ASCII
// letters; other characters compare by their bytes in the ANSI code page.
int WINAPI lstrcmpiA(LPCSTR lpString1, LPCSTR lpString2);

}  // extern "C"
