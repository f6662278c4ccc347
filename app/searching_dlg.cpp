#include "searching_dlg.h"

#include "program_resources.h"
#include "resource_ids.h"

CSearchingDlg::CSearchingDlg(CWnd* parent) : CDialog(morvane::IDD_SEARCHING, parent) {}

void CSearchingDlg::DoDataExchange(CDataExchange* dx) {
  CDialog::DoDataExchange(dx);
  DDX_Text(dx, morvane::IDC_SEARCHING_TEXT, m_strMessage);
}

BOOL CSearchingDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  // Keep the place the window system chose (centred), and stay above every other window.
  RECT rect;
  GetWindowRect(&rect);
  SetWindowPos(wndTopMost, rect.left, rect.top, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
  m_strMessage = morvane::Sjis("データを検索しています。\r\nしばらくお待ち下さい。");
  UpdateData(FALSE);
  return TRUE;
}
