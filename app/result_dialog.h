// What both search dialogs share: the result list and the four result fields below it. A row
// chosen in the list is cut into prefecture, city and town area; a field that gets the focus
// selects its text and copies it to the clipboard.
#pragma once

#include "platform/afxwin.h"

class CResultDialog : public CDialog {
 protected:
  CResultDialog(UINT template_id, CWnd* parent) : CDialog(template_id, parent) {}

  void OnSelchangeResult();
  void OnSetfocusResPref() { SelectAndCopy(m_editResPref); }
  void OnSetfocusResCity() { SelectAndCopy(m_editResCity); }
  void OnSetfocusResTown() { SelectAndCopy(m_editResTown); }
  void OnSetfocusResAll() { SelectAndCopy(m_editResAll); }

  CEdit m_editResAll;
  CEdit m_editResTown;
  CEdit m_editResCity;
  CEdit m_editResPref;
  CListBox m_listResult;
  CString m_strResAll;
  CString m_strResTown;
  CString m_strResCity;
  CString m_strResPref;

 private:
  static void SelectAndCopy(CEdit& edit);
};
