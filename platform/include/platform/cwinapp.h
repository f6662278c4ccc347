// The application object and the program's entry.
#pragma once

#include "platform/cwnd.h"

class CWinApp {
 public:
  explicit CWinApp(const char* app_name = nullptr);
  virtual ~CWinApp();
  CWinApp(const CWinApp&) = delete;
  CWinApp& operator=(const CWinApp&) = delete;

  virtual BOOL InitInstance();
  // The framework's exit processing after InitInstance returned FALSE.
  virtual int ExitInstance();
  void Enable3dControls() {}  // every control is drawn three-dimensional already
  // An icon resource of the program (nullptr when it has none).
  HICON LoadIcon(UINT id) const;

  CWnd* m_pMainWnd = nullptr;
  const char* m_pszAppName;
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
// The executable's module, where resources are looked up (none in the core).
HINSTANCE AfxGetInstanceHandle();
// Hosting of ActiveX controls: the program has none, so there is nothing to set up.
void AfxEnableControlContainer();
// Runs the application object: InitInstance, then the exit processing. Returns the exit code.
int AfxWinMain(HINSTANCE instance, HINSTANCE previous, LPSTR command_line, int show);
