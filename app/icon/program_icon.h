// Icon 128, the program's icon, as the program draws it. The program registers it as a
// resource; build-time tools write it as PNG files (icon_export.cpp) and as the Windows
// executable's .ico (make_ico.cpp).
#pragma once

#include "platform/icon.h"

namespace morvane {

platform::Icon ProgramIcon();

}  // namespace morvane
