// What the framework asks of whatever shows its windows and message boxes. In the core: the
// headless backend for tests and the command line, the Qt backend for the program. On
// Windows the system makes, shows and runs every window, so only message boxes are asked of a
// backend there (the command line and tests take them), and the window hooks are never called.
#pragma once

#include <string>

#include "platform/wintypes.h"

namespace platform {
class DialogWindow;
struct InputContext;
}  // namespace platform

namespace platform {

class Backend {
 public:
  virtual ~Backend() = default;
  // A modal message box; caption and text are CP932. Returns the button pressed (IDOK).
  virtual int ShowMessageBox(const std::string& caption, const std::string& text, UINT type) = 0;

  // The core's windows. A dialog and its controls exist, not yet initialised or shown: place it
  // (screen geometry) and attach views. False when the backend cannot make the window.
  virtual bool DialogCreated(DialogWindow* /*dialog*/) { return false; }
  // Runs until dialog->ModalEnded(). The backend delivers a person's actions meanwhile.
  virtual void RunModalLoop(DialogWindow* /*dialog*/) {}
  // A modeless dialog has been created and shown: it must be on the screen, painted, when this
  // returns, since the caller may block the thread right after.
  virtual void ModelessShown(DialogWindow* /*dialog*/) {}
  // The person asked to move the window with the keyboard or mouse (system menu Move).
  virtual void BeginMove(DialogWindow* /*dialog*/) {}
  virtual void ClipboardChanged() {}
  virtual void InputMethodChanged(InputContext* /*context*/) {}
  // Base units of a dialog's font in pixels (average character width and height), for
  // converting dialog units.
  virtual POINT BaseUnits(const DialogWindow* /*dialog*/) { return POINT{6, 12}; }
  // Size of the screen in pixels.
  virtual POINT ScreenSize() { return POINT{1280, 1024}; }
};

// The backend in use; none means message boxes go to the system's own (stderr in the core).
Backend* CurrentBackend();
void SetBackend(Backend* backend);

// The application's name: set by the program, else the executable's file name without its
// extension. Message boxes are captioned with it.
std::string ApplicationName();
void SetApplicationName(std::string name);

}  // namespace platform
