// The framework's message box, captioned with the application's name.
#pragma once

#include "platform/wintypes.h"

int AfxMessageBox(const char* text, UINT type = MB_OK, UINT help_id = 0);
