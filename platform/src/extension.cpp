#include "platform/extension.h"

#include <algorithm>
#include <memory>

namespace {
// The framework's list of libraries; it owns the objects.
std::vector<CDynLinkLibrary*>& Libraries() {
  static std::vector<CDynLinkLibrary*> libraries;
  return libraries;
}
}  // namespace

BOOL AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HMODULE module) {
  if (module == nullptr) return FALSE;
  state.hModule = module;
  state.bInitialized = TRUE;
  return TRUE;
}

void AfxTermExtensionModule(AFX_EXTENSION_MODULE& state, BOOL /*all*/) {
  if (!state.bInitialized) return;
  // Free the module's CDynLinkLibrary objects; iterate on a copy since each one unlinks itself.
  const std::vector<CDynLinkLibrary*> libraries = Libraries();
  for (CDynLinkLibrary* library : libraries) {
    if (library->m_hModule == state.hModule) delete library;
  }
  state.bInitialized = FALSE;
}

CDynLinkLibrary::CDynLinkLibrary(AFX_EXTENSION_MODULE& state) : m_hModule(state.hModule) {
  Libraries().push_back(this);
}

CDynLinkLibrary::~CDynLinkLibrary() {
  std::erase(Libraries(), this);
}

namespace platform {
std::vector<HMODULE> LoadedExtensionModules() {
  std::vector<HMODULE> modules;
  for (const CDynLinkLibrary* library : Libraries()) modules.push_back(library->m_hModule);
  return modules;
}
}  // namespace platform
