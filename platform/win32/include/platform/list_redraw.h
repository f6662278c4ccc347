// Painting of a list box that a blocking loop fills row by row.
#pragma once

#include "platform/wintypes.h"

namespace platform {

// From the first row added, inserted or deleted while the box is visible, the box stops
// painting itself until the thread's message loop runs again; then it is painted once. A
// search that rewrites thousands of rows would otherwise repaint the box and its scroll bar
// for every one (on Wine about a hundred seconds for 4,000 rows), while nobody can see the
// box change before the loop runs anyway. The box's answers do not change.
void DeferListRedraw(HWND list);

// The message that the box posts itself to paint again (for tests).
UINT ListRedrawMessage();

}  // namespace platform
