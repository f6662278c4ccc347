// A person's actions, as they enter the core whatever shows the windows: the Qt backend calls
// these from widget events, and the headless scripted user calls them from a test's script.
// Actions on a disabled window, or on a dialog disabled under a modal one, do nothing.
#pragma once

#include <string>

#include "platform/wintypes.h"

namespace platform::user {

// Clicks a control: a push button gets the focus and is pressed; an edit or list box gets
// the focus.
void Click(HWND control);
// Moves the focus to a control (a click into it, or Tab).
void Focus(HWND control);
// Types or pastes CP932 text into an edit at its selection; gives it the focus first.
void Type(HWND edit, const std::string& cp932);
// Replaces the whole text of an edit, as a widget that edits on its own reports it.
void ReplaceText(HWND edit, const std::string& cp932);
// Selects a row of a list box with the mouse or keyboard; gives it the focus first.
void SelectRow(HWND list, int index);
// Keys of a classic dialog.
void Tab(HWND dialog, bool backwards = false);
void Enter(HWND dialog);
void Space(HWND dialog);
void Escape(HWND dialog);
// The close box (only a dialog with a system menu has one): the system command Close.
void CloseBox(HWND dialog);
// Alt+F4: the system command Close, whether or not there is a close box.
void AltF4(HWND dialog);
// A command chosen from the system menu (or its substitute).
void SystemCommand(HWND dialog, UINT command);

}  // namespace platform::user
