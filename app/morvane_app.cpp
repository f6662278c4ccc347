#include "morvane_app.h"

#include "morvane_dlg.h"
#include "program_resources.h"

CMorvaneApp::CMorvaneApp() : CWinApp(nullptr) {
  morvane::RegisterResources();
}

BOOL CMorvaneApp::InitInstance() {
  AfxEnableControlContainer();
  Enable3dControls();
  CMorvaneDlg dialog;
  m_pMainWnd = &dialog;
  dialog.DoModal();
  m_pMainWnd = nullptr;
  // No message loop of the framework's own: the program ends with the main menu.
  return FALSE;
}
