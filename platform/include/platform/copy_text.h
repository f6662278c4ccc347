// A program's own Copy command: text put on the system's clipboard, as an edit's WM_COPY puts
// its selection there.
#pragma once

#include <string_view>

#include "platform/wintypes.h"

namespace platform {

// Replaces what the clipboard holds with the CP932 text, the window owning it; false when the
// clipboard could not be had.
bool CopyText(HWND owner, std::string_view cp932);

}  // namespace platform
