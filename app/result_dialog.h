// What both search dialogs share: the result list and the four result fields below it, and
// the buttons that leave. A row chosen in the list is cut into prefecture, city and town
// area; a field that gets the focus selects its text and copies it to the clipboard, and
// Ctrl+C (or Ctrl+Insert) in the list copies the selected row's postal code.
#pragma once

#include "platform/afxwin.h"

class CResultDialog : public CDialog {
 protected:
  CResultDialog(UINT template_id, CWnd* parent) : CDialog(template_id, parent) {}

  // Enter and Esc neither close a search dialog nor search.
  void OnOK() override {}
  void OnCancel() override {}
  // 終了 ends the whole program through the main menu; 戻る goes back to it.
  void OnExit() { EndDialog(-1); }
  void OnBack() { EndDialog(0); }

  void OnSelchangeResult();
  // WM_VKEYTOITEM from the result list (LBS_WANTKEYBOARDINPUT): Ctrl+C and Ctrl+Insert copy;
  // every other key is the list's own.
  int OnResultKey(UINT key, HWND list);
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
