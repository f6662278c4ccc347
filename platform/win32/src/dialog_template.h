// Dialog templates in the system's binary form, for the dialog manager.
#pragma once

#include <vector>

#include "platform/resource_registry.h"

namespace platform {

// The template as DLGTEMPLATE and its DLGITEMTEMPLATEs (texts in UTF-16, DWORD-aligned), ready
// for DialogBoxIndirectParam. Controls get WS_CHILD and WS_VISIBLE as the core gives them.
std::vector<WORD> BuildDialogTemplate(const DialogTemplate& dialog_template);

}  // namespace platform
