// What the window manager is told about a dialog's frame, beyond Qt's window flags.
#pragma once

class QWidget;

namespace platform::qt {

// Qt asks an X11 window manager for every function (minimise, maximise, close) when a window
// has none of the buttons, so a dialog without a system menu would get all three. Writes the
// Motif hints itself: move only, plus close where the dialog has a close box. Nothing on other
// window systems.
void SetFrameFunctions(QWidget* window, bool close_box);

}  // namespace platform::qt
