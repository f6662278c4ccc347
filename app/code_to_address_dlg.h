// Postal code to address: a code typed in two boxes (three and four characters) lists every
// address that carries it.
#pragma once

#include "result_dialog.h"

class CCodeToAddressDlg : public CResultDialog {
 public:
  explicit CCodeToAddressDlg(CWnd* parent = nullptr);
  ~CCodeToAddressDlg() override = default;

 protected:
  void DoDataExchange(CDataExchange* dx) override;
  const platform::MessageMap* GetMessageMap() const override;

  void OnSearch();
  void OnClear();

  CString m_strCode4;
  CString m_strCode3;
};
