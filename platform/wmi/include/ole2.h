// The simulated build's <ole2.h>: COM and OLE automation, which the SDK's windows.h
// brings in too.
#pragma once
#include <objbase.h>
#include <oleauto.h>
