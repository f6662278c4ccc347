// Where the framework's message boxes go: by default the system's MessageBoxA; a program
// without a display (the command line, tests) installs a backend that takes them instead.
#pragma once

#include <string>

#include "platform/wintypes.h"

namespace platform {

class Backend {
 public:
  virtual ~Backend() = default;
  // A message box; caption and text are CP932. Returns the button pressed (IDOK).
  virtual int ShowMessageBox(const std::string& caption, const std::string& text, UINT type) = 0;
};

// The backend in use; none means the system's message box.
Backend* CurrentBackend();
void SetBackend(Backend* backend);

// The application's name: set by the program, else the executable's file name without its
// extension. Message boxes are captioned with it.
std::string ApplicationName();
void SetApplicationName(std::string name);

}  // namespace platform
