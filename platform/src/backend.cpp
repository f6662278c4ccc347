#include "platform/backend.h"

#include "framework_port.h"
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
  std::string name = port::ProgramFileName();
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
  return platform::port::SystemMessageBox(caption, body, type);
}
