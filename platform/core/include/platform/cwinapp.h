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
  void Enable3dControls() {}  // every control looks three-dimensional here already
  HICON LoadIcon(UINT id) const;

  CWnd* m_pMainWnd = nullptr;
  const char* m_pszAppName;
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
// Hosting of ActiveX controls: there are none on this platform, so there is nothing to do.
void AfxEnableControlContainer();
// Runs the application object: InitInstance, then the exit processing. Returns the exit code.
int AfxWinMain(HINSTANCE instance, HINSTANCE previous, LPSTR command_line, int show);

// The runtime's multibyte code page: only CP932 (and -3, the system's ANSI code page, which is
// CP932 for this program) are accepted.
inline constexpr int _MB_CP_ANSI = -3;
int _setmbcp(int code_page);
int _getmbcp();
