// The framework as the program and the library include it.
#pragma once

#include "platform/clistbox.h"
#include "platform/cstring.h"
#include "platform/cwnd.h"
#include "platform/extension.h"
#include "platform/messagebox.h"
#include "platform/wintypes.h"
