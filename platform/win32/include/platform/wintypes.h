// The classic window system's types and constants come from the system's own headers here;
// the program and the library use the same names as with the core's subset.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX  // the library calls std::min and std::max
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
// Included after windows.h, which it builds on.
#include <imm.h>
