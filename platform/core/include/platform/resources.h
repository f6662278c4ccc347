// The program's string resources: the table that a resource script would hold, registered at
// start-up by the program.
#pragma once

#include <string>

#include "platform/wintypes.h"

namespace platform {

void RegisterStringResource(UINT id, std::string cp932_text);
// The string, or nullptr when the program has none of that number.
const std::string* FindStringResource(UINT id);

}  // namespace platform
