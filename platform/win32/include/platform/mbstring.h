// The runtime's multibyte string helpers: msvcrt has them.
#pragma once

#include <mbstring.h>
#include <stdlib.h>
