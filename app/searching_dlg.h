// The searching popup: a modeless, topmost window that stands while a search blocks the
// program.
#pragma once

#include "platform/afxwin.h"

class CSearchingDlg : public CDialog {
 public:
  explicit CSearchingDlg(CWnd* parent = nullptr);
  ~CSearchingDlg() override = default;

 protected:
  void DoDataExchange(CDataExchange* dx) override;
  BOOL OnInitDialog() override;

 private:
  CString m_strMessage;
};
