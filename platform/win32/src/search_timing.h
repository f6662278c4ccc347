// The time from a button's press to the rows painted in a list, for measuring the program's
// speed under Wine or Windows. Written only when MORVANE_TIMING names a file; otherwise each
// call is one test of a flag read at start.
#pragma once

#include "platform/wintypes.h"

namespace platform::search_timing {

bool Enabled();
// A push button of a dialog was pressed (BN_CLICKED reached the dialog).
void ButtonPressed();
// A list box painted its rows after a change: the first one after a press appends a line
// "<milliseconds since the press> <processor milliseconds since the press> <rows in the
// list>" to the file.
void ListPainted(HWND list);

}  // namespace platform::search_timing
