// What assistive technology is told of a dialog beyond what each widget says of itself: the
// dialog's role, and the names of the controls that have no text of their own.
#pragma once

namespace platform {
class DialogWindow;
}

namespace platform::qt {

// Makes Qt report a dialog's window as a dialog (a plain QWidget window is a "filler" to
// AT-SPI). Installed once per process.
void InstallAccessibleFactory();

// Names the dialog's edits and list boxes as the window system does: after the static text
// just before each in the dialog's order, which becomes its label (QLabel's buddy: the name
// and the label relation). A control whose template gives a name of its own takes that one
// and no label; a list box's name then carries the count of its rows.
void NameControls(DialogWindow* dialog);

}  // namespace platform::qt
