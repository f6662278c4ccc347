// The clipboard as the core keeps it: CF_TEXT, CP932 bytes. The backend mirrors it to the
// system's clipboard.
#pragma once

#include <string>

namespace platform {

void SetClipboardText(const std::string& cp932);
const std::string& ClipboardText();
// How often the clipboard was written since start: lets a test tell "copied the same text
// again" from "not copied".
int ClipboardWrites();

}  // namespace platform
