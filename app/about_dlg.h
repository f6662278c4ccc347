// The About box: program icon, name and version, and two credit lines.
#pragma once

#include "platform/afxwin.h"

class CAboutDlg : public CDialog {
 public:
  CAboutDlg();
  ~CAboutDlg() override = default;

 protected:
  void DoDataExchange(CDataExchange* dx) override;
};
