// The runtime's multibyte string helpers: msvcrt has them.
#pragma once

#include <mbstring.h>
#include <stdlib.h>

// The runtime's multibyte code page: msvcrt's own. mbctype.h is not included for it, since its
// _M1 and _M2 macros break <type_traits>.
#ifndef _MB_CP_ANSI
#define _MB_CP_ANSI (-3)
#endif
extern "C" _CRTIMP int __cdecl _setmbcp(int code_page);
extern "C" _CRTIMP int __cdecl _getmbcp(void);
