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
// Replaces the bytes [start, end) of an edit's text as typing over that selection does (the
// limit applied, EN_CHANGE sent), without moving the focus: an assistive tool's edit. A
// read-only edit refuses it.
void EditRange(HWND edit, int start, int end, const std::string& cp932);
// The mouse on a list box: the left button pressed on a row (gives the box the focus and
// selects the row), released (inside the box or not), the second press of a double click.
void ListPress(HWND list, int index);
void ListRelease(HWND list, bool inside = true);
void ListDoubleClick(HWND list, int index);
// A click on a row of a list box: pressed and released on it.
void SelectRow(HWND list, int index);
// A key (VK_UP, VK_DOWN, VK_LEFT, VK_RIGHT, VK_HOME, VK_END, VK_PRIOR, VK_NEXT, VK_SPACE, or
// any other that the box's owner may ask for, such as 'C' with Ctrl) pressed with the focus in
// a list box, Ctrl held or not; gives it the focus first.
void ListKey(HWND list, UINT vk, bool with_control = false);
// Keys of a classic dialog.
void Tab(HWND dialog, bool backwards = false);
void Enter(HWND dialog);
// Presses the focused push button, or selects the caret row of the focused list box.
void Space(HWND dialog);
void Escape(HWND dialog);
// The close box (only a dialog with a system menu has one): the system command Close.
void CloseBox(HWND dialog);
// Alt+F4: the system command Close, whether or not there is a close box.
void AltF4(HWND dialog);
// A command chosen from the system menu (or its substitute).
void SystemCommand(HWND dialog, UINT command);

}  // namespace platform::user
