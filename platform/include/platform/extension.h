// What a shared library of the framework does when it is loaded and unloaded: it registers
// itself as an extension module, and the framework keeps a CDynLinkLibrary for it.
#pragma once

#include <vector>

#include "platform/wintypes.h"

struct AFX_EXTENSION_MODULE {
  BOOL bInitialized = FALSE;
  HMODULE hModule = nullptr;
};

BOOL AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HMODULE module);
void AfxTermExtensionModule(AFX_EXTENSION_MODULE& state, BOOL all = FALSE);

class CDynLinkLibrary {
 public:
  // Joins the framework's list of libraries, which owns the object from then on.
  explicit CDynLinkLibrary(AFX_EXTENSION_MODULE& state);
  ~CDynLinkLibrary();
  CDynLinkLibrary(const CDynLinkLibrary&) = delete;
  CDynLinkLibrary& operator=(const CDynLinkLibrary&) = delete;

  HMODULE m_hModule;
};

namespace platform {
// Modules that have a CDynLinkLibrary in the framework's list, oldest first.
std::vector<HMODULE> LoadedExtensionModules();
}  // namespace platform
