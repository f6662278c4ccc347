// The main menu: the two searches and the exit button; its system menu opens the About box.
// The program lives as long as this dialog.
#pragma once

#include "platform/afxwin.h"

class CMorvaneDlg : public CDialog {
 public:
  explicit CMorvaneDlg(CWnd* parent = nullptr);
  ~CMorvaneDlg() override = default;

 protected:
  void DoDataExchange(CDataExchange* dx) override;
  BOOL OnInitDialog() override;
  // Enter and Esc never end the main menu.
  void OnOK() override {}
  void OnCancel() override {}
  const platform::MessageMap* GetMessageMap() const override;

  void OnSysCommand(UINT id, LPARAM lparam);
  void OnPaint();
  HCURSOR OnQueryDragIcon();
  void OnAddressToCode();
  void OnCodeToAddress();
  void OnQuit();
  void OnClose();

  HICON m_hIcon;
};
