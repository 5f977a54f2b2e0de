// <initguid.h>: in the SDK, included before the headers that declare GUIDs in one
// source file of a program, to define them there. The simulated build's headers
// declare their GUIDs as plain constants that each platform area defines itself,
// so here it has nothing to change.
#pragma once
