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
  void Enable3dControls() {}  // the system draws every control three-dimensional already
  // An icon resource of the program's executable.
  HICON LoadIcon(UINT id) const;

  CWnd* m_pMainWnd = nullptr;
  const char* m_pszAppName;
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
// The executable's module: resources and dialog templates are looked up there.
HINSTANCE AfxGetInstanceHandle();
// Hosting of ActiveX controls: the program has none, so there is nothing to set up.
void AfxEnableControlContainer();
// Runs the application object: InitInstance, then the exit processing. Returns the exit code.
int AfxWinMain(HINSTANCE instance, HINSTANCE previous, LPSTR command_line, int show);

// The runtime's multibyte code page: msvcrt's own. mbctype.h is not included for it, since its
// _M1 and _M2 macros break <type_traits>.
#ifndef _MB_CP_ANSI
#define _MB_CP_ANSI (-3)
#endif
extern "C" _CRTIMP int __cdecl _setmbcp(int code_page);
extern "C" _CRTIMP int __cdecl _getmbcp(void);
