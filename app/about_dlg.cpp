#include "about_dlg.h"

#include "resource_ids.h"

CAboutDlg::CAboutDlg() : CDialog(morvane::IDD_ABOUTBOX) {}

void CAboutDlg::DoDataExchange(CDataExchange* dx) {
  CDialog::DoDataExchange(dx);
}
