// CDialog and dialog data exchange. Each window system makes and runs the window its own way
// (the core from its own windows and the backend's modal loop; Windows from an in-memory
// template and the dialog manager); the exchange and the command routing are one.
#pragma once

#include "platform/cwnd.h"

class CDataExchange;

class CDialog : public CWnd {
 public:
  explicit CDialog(UINT template_id, CWnd* parent = nullptr);
  ~CDialog() override;

  // The owner of either kind of dialog is the parent given, else the application's main window.
  // Runs the dialog modally with its owner disabled; the value given to EndDialog, or -1 when
  // the window cannot be made.
  virtual int DoModal();
  // Makes the dialog modeless; returns at once, the window painted when the template makes it
  // visible. FALSE when the window cannot be made.
  BOOL Create(UINT template_id, CWnd* parent = nullptr);
  void EndDialog(int result);
  BOOL UpdateData(BOOL save_and_validate = TRUE);

  virtual BOOL OnInitDialog();
  virtual void OnOK();
  virtual void OnCancel();

 protected:
  virtual void DoDataExchange(CDataExchange* dx);
  BOOL OnCommand(WPARAM wparam, LPARAM lparam) override;
  LRESULT DefWindowProc(UINT message, WPARAM wparam, LPARAM lparam) override;

  UINT m_nIDTemplate;
  CWnd* m_pParentWnd;
  // Between DoModal's start and its return.
  bool m_bModal = false;
};

class CDataExchange {
 public:
  CDataExchange(CWnd* dialog, BOOL save_and_validate)
      : m_pDlgWnd(dialog), m_bSaveAndValidate(save_and_validate) {}
  // Marks the exchange failed, with the focus on the last control exchanged.
  void Fail();

  CWnd* m_pDlgWnd;
  BOOL m_bSaveAndValidate;
  int m_idLastControl = 0;
  bool m_bFailed = false;
};

void DDX_Control(CDataExchange* dx, int id, CWnd& control);
void DDX_Text(CDataExchange* dx, int id, CString& value);
// Loading limits the control to max_bytes; saving a longer text fails the exchange with a
// message and the focus on the control.
void DDV_MaxChars(CDataExchange* dx, const CString& value, int max_bytes);
