// What the shared framework sources ask of Windows (see platform/src/framework_port.h).
#include "framework_port.h"

#include "platform/cwinapp.h"
#include "platform/list_redraw.h"
#include "platform/resource_registry.h"

namespace platform::port {

std::string ProgramFileName() {
  char path[MAX_PATH] = {};
  const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string name(path, length < MAX_PATH ? length : 0);
  const auto slash = name.find_last_of("\\/");
  if (slash != std::string::npos) name.erase(0, slash + 1);
  return name;
}

int SystemMessageBox(const std::string& caption, const std::string& text, UINT type) {
  // Owned by the window the person works in, so that it stays in front of it and that window
  // waits for the answer, as the framework's box does.
  HWND owner = ::GetActiveWindow();
  if (owner == nullptr && AfxGetMainWnd() != nullptr) owner = AfxGetMainWnd()->m_hWnd;
  return ::MessageBoxA(owner, text.c_str(), caption.c_str(), type);
}

// A dialog's messages reach its object through the dialog procedure (DWLP_USER), which lets
// go of it when the window goes; a control's go to the system's class.
void Unlink(HWND /*window*/, const CWnd* /*object*/) {}

void ControlAttached(HWND control) {
  char class_name[16] = {};
  ::GetClassNameA(control, class_name, sizeof class_name);
  // The program's list boxes are filled by searches that block the thread.
  if (::lstrcmpiA(class_name, "ListBox") == 0) DeferListRedraw(control);
}

}  // namespace platform::port

HINSTANCE AfxGetInstanceHandle() {
  return ::GetModuleHandleA(nullptr);
}

// Icons are the executable's own resources.
HICON platform::FindIconResource(int id) {
  return ::LoadIconA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(id));
}
