// What the shared framework sources ask of the core (see platform/src/framework_port.h).
#include "framework_port.h"

#include <errno.h>

#include <cstdio>

#include "platform/cwinapp.h"
#include "platform/encoding.h"
#include "platform/resource_registry.h"
#include "platform/window.h"

namespace platform::port {

std::string ProgramFileName() {
  return program_invocation_short_name;
}

int SystemMessageBox(const std::string& caption, const std::string& text, UINT /*type*/) {
  // No backend: nobody can press OK, so say it where a person will read it.
  const std::string shown = Cp932ToLocale(text);
  std::fprintf(stderr, "%s: %s\n", caption.c_str(), shown.c_str());
  return IDOK;
}

void Unlink(HWND window, const CWnd* object) {
  if (window->Handler() == object) window->SetHandler(nullptr);
}

// Nothing to do: filling the core's list box costs no painting, since a backend's view shows
// the rows when its own loop runs.
void ControlAttached(HWND /*control*/) {}

}  // namespace platform::port

HINSTANCE AfxGetInstanceHandle() {
  return nullptr;
}

HICON platform::FindIconResource(int id) {
  return RegisteredIcon(id);
}
