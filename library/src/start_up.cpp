// Loading the library registers it with the framework as an extension module; unloading
// takes it out again.
#include <dlfcn.h>

#include "platform/extension.h"

namespace {

// The module handle, as on the classic system: the address the library is loaded at.
HMODULE OwnModule() {
  Dl_info info{};
  if (::dladdr(reinterpret_cast<const void*>(&OwnModule), &info) == 0) return nullptr;
  return info.dli_fbase;
}

// A static object rather than an ELF constructor: its destructor then runs before the
// framework's list of libraries (created during its constructor) is destroyed at exit.
class ExtensionModuleRegistration {
 public:
  ExtensionModuleRegistration() {
    // The classic loader fails the load here; a shared object cannot refuse to load, so the
    // library is then simply not in the framework's list.
    if (!AfxInitExtensionModule(module_, OwnModule())) return;
    new CDynLinkLibrary(module_);  // owned by the framework from here on
  }
  ~ExtensionModuleRegistration() { AfxTermExtensionModule(module_); }
  ExtensionModuleRegistration(const ExtensionModuleRegistration&) = delete;
  ExtensionModuleRegistration& operator=(const ExtensionModuleRegistration&) = delete;

 private:
  AFX_EXTENSION_MODULE module_;
};

const ExtensionModuleRegistration registration;

}  // namespace
