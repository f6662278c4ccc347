// What the shared framework sources leave to each window system; each port defines these once
// (platform/core/src/framework_port.cpp, platform/win32/src/framework_port.cpp).
#pragma once

#include <string>

#include "platform/icon.h"
#include "platform/wintypes.h"

class CWnd;

namespace platform::port {

// The program's file name, without its folder.
std::string ProgramFileName();
// A message box when no backend takes it.
int SystemMessageBox(const std::string& caption, const std::string& text, UINT type);
// The object no longer handles the window's messages (it goes, or lets the window go).
void Unlink(HWND window, const CWnd* object);
// DDX_Control attached a control of a dialog to an object of the program.
void ControlAttached(HWND control);

}  // namespace platform::port

namespace platform {
// An icon that the program registered (nullptr for none), for the port's FindIconResource.
Icon* RegisteredIcon(int id);
}  // namespace platform
