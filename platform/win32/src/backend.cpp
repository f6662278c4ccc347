#include "platform/backend.h"

#include "platform/cwinapp.h"
#include "platform/messagebox.h"

namespace platform {
namespace {
Backend* g_backend = nullptr;
std::string& NameOverride() {
  static std::string name;
  return name;
}
}  // namespace

Backend* CurrentBackend() {
  return g_backend;
}
void SetBackend(Backend* backend) {
  g_backend = backend;
}

std::string ApplicationName() {
  if (!NameOverride().empty()) return NameOverride();
  char path[MAX_PATH] = {};
  const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string name(path, length < MAX_PATH ? length : 0);
  const auto slash = name.find_last_of("\\/");
  if (slash != std::string::npos) name.erase(0, slash + 1);
  const auto dot = name.rfind('.');
  if (dot != std::string::npos && dot != 0) name.erase(dot);
  return name;
}

void SetApplicationName(std::string name) {
  NameOverride() = std::move(name);
}

}  // namespace platform

int AfxMessageBox(const char* text, UINT type, UINT /*help_id*/) {
  const std::string caption = platform::ApplicationName();
  const std::string body = text != nullptr ? text : "";
  if (platform::Backend* backend = platform::CurrentBackend()) {
    return backend->ShowMessageBox(caption, body, type);
  }
  // Owned by the window the person works in, so that it stays in front of it and that window
  // waits for the answer, as the framework's box does.
  HWND owner = ::GetActiveWindow();
  if (owner == nullptr && AfxGetMainWnd() != nullptr) owner = AfxGetMainWnd()->m_hWnd;
  return ::MessageBoxA(owner, body.c_str(), caption.c_str(), type);
}
