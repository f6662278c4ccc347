// Windows: loading orvek.dll registers it with the framework as an extension module, and
// unloading takes it out again (start_up.cpp does the same for the shared object on Linux).
#include "platform/extension.h"

namespace {
AFX_EXTENSION_MODULE g_module;
}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID /*reserved*/) {
  if (reason == DLL_PROCESS_ATTACH) {
    // The classic loader refuses a library that cannot register.
    if (!AfxInitExtensionModule(g_module, instance)) return FALSE;
    new CDynLinkLibrary(g_module);  // owned by the framework from here on
  } else if (reason == DLL_PROCESS_DETACH) {
    AfxTermExtensionModule(g_module);
  }
  return TRUE;
}
