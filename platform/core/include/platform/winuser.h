// The classic window functions that the framework, the program and the library call, over the
// core's windows (platform/core/src): what user32 gives on Windows. Handles are checked against
// the table of live windows, so a stale one is refused rather than followed.
#pragma once

#include "platform/wintypes.h"

LRESULT SendMessageA(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
// The window's own procedure (the classic default processing plus the control's class's).
LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
BOOL IsWindow(HWND window);
BOOL DestroyWindow(HWND window);
// Moves the keyboard focus inside the window's dialog: EN_KILLFOCUS to the edit losing it,
// then EN_SETFOCUS to the edit getting it. Returns the window that had it.
HWND SetFocus(HWND window);
HWND GetFocus();
BOOL EnableWindow(HWND window, BOOL enable);
BOOL IsWindowEnabled(HWND window);
BOOL IsWindowVisible(HWND window);
HWND GetDlgItem(HWND dialog, int id);
int GetDlgCtrlID(HWND window);
// The class a template's kind stands for: "#32770", "Button", "Edit", "ListBox", "Static".
int GetClassNameA(HWND window, LPSTR name, int size);
int lstrcmpiA(LPCSTR a, LPCSTR b);
// Whether a key is held (the high bit set, the value negative) while the person's key that is
// being handled was pressed; only Ctrl is followed.
SHORT GetKeyState(int vk);

BOOL SetWindowTextA(HWND window, LPCSTR text);
int GetWindowTextLengthA(HWND window);
int GetWindowTextA(HWND window, LPSTR text, int size);

// Visibility and minimising; a dialog's screen rectangle and client size are the backend's.
BOOL ShowWindow(HWND window, int command);
BOOL IsIconic(HWND window);
BOOL SetWindowPos(HWND window, HWND insert_after, int x, int y, int cx, int cy, UINT flags);
BOOL GetWindowRect(HWND window, RECT* rect);
BOOL GetClientRect(HWND window, RECT* rect);

// The system menu of a dialog that has one.
HMENU GetSystemMenu(HWND window, BOOL revert);
BOOL AppendMenuA(HMENU menu, UINT flags, UINT_PTR id, LPCSTR text);
int GetMenuItemCount(HMENU menu);

// Painting, as far as the program paints: a dialog records the icons drawn on it (the backend
// shows them, tests read them).
HDC BeginPaint(HWND window, PAINTSTRUCT* paint);
BOOL EndPaint(HWND window, const PAINTSTRUCT* paint);
BOOL DrawIcon(HDC dc, int x, int y, HICON icon);
int GetSystemMetrics(int index);
