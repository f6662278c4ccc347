#include "platform/cwinapp.h"

#include <string>

#include "platform/backend.h"
#include "platform/resource_registry.h"

namespace {
CWinApp* g_app = nullptr;
}  // namespace

CWinApp::CWinApp(const char* app_name) {
  g_app = this;
  // The one application name, which message boxes are captioned with too. No name given: the
  // framework names the application after the program's file.
  if (app_name != nullptr) platform::SetApplicationName(app_name);
  static std::string name;
  name = platform::ApplicationName();
  m_pszAppName = name.c_str();
}

CWinApp::~CWinApp() {
  if (g_app == this) g_app = nullptr;
}

BOOL CWinApp::InitInstance() {
  return TRUE;
}

int CWinApp::ExitInstance() {
  return 0;
}

HICON CWinApp::LoadIcon(UINT id) const {
  return platform::FindIconResource(static_cast<int>(id));
}

CWinApp* AfxGetApp() {
  return g_app;
}

CWnd* AfxGetMainWnd() {
  return g_app != nullptr ? g_app->m_pMainWnd : nullptr;
}

void AfxEnableControlContainer() {}

int AfxWinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, LPSTR /*command_line*/,
               int /*show*/) {
  CWinApp* app = AfxGetApp();
  if (app == nullptr) return -1;
  // A dialog program returns FALSE from InitInstance: no message loop of the framework's own.
  if (!app->InitInstance()) return app->ExitInstance();
  return app->ExitInstance();
}
