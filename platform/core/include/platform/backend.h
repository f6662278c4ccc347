// What the core asks of whatever shows its windows: the headless backend for tests and the
// command line, the Qt backend for the program.
#pragma once

#include <string>

#include "platform/wintypes.h"

namespace platform {

class Backend {
 public:
  virtual ~Backend() = default;
  // A modal message box; caption and text are CP932. Returns the button pressed (IDOK).
  virtual int ShowMessageBox(const std::string& caption, const std::string& text, UINT type) = 0;
};

// The backend in use; none means message boxes go straight to stderr.
Backend* CurrentBackend();
void SetBackend(Backend* backend);

// The application's name: set by the program, else the executable's file name without its
// extension. Message boxes are captioned with it.
std::string ApplicationName();
void SetApplicationName(std::string name);

}  // namespace platform
