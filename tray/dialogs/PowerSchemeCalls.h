// The power-scheme calls of powrprof.dll, bound at run time when first used.
// They came with Vista: on XP (and under wine, which lacks some of them) a
// missing call answers ERROR_PROC_NOT_FOUND and the ECO cycle changes no
// scheme, instead of the program failing to start for want of an import.
#pragma once
#include <windows.h>
#include <powrprof.h>

struct PowerSchemeCalls {
  decltype(&PowerEnumerate) Enumerate;
  decltype(&PowerGetActiveScheme) GetActiveScheme;
  decltype(&PowerSetActiveScheme) SetActiveScheme;
  decltype(&PowerImportPowerScheme) ImportPowerScheme;
  decltype(&PowerDeleteScheme) DeleteScheme;
};

// The calls, bound once for the process.
const PowerSchemeCalls& PowerSchemes();
