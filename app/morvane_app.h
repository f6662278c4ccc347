// The application object: runs the main menu, and the program ends when it closes.
#pragma once

#include "platform/afxwin.h"

class CMorvaneApp : public CWinApp {
 public:
  CMorvaneApp();
  ~CMorvaneApp() override = default;

  BOOL InitInstance() override;
};
