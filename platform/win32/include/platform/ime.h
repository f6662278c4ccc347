// The input-method manager is imm32's own (ImmGetContext, ImmSetOpenStatus, ...).
#pragma once

#include "platform/wintypes.h"
