#include "morvane_dlg.h"

#include "about_dlg.h"
#include "address_to_code_dlg.h"
#include "code_to_address_dlg.h"
#include "resource_ids.h"

CMorvaneDlg::CMorvaneDlg(CWnd* parent) : CDialog(morvane::IDD_MORVANE_DIALOG, parent) {
  // A shared resource icon: loaded once, never destroyed by the program.
  m_hIcon = AfxGetApp() != nullptr ? AfxGetApp()->LoadIcon(morvane::IDR_MAINFRAME)
                                   : platform::FindIconResource(morvane::IDR_MAINFRAME);
}

const platform::MessageMap* CMorvaneDlg::GetMessageMap() const {
  using Self = CMorvaneDlg;
  static const platform::MessageMap map = {
      platform::OnSysCommand(&Self::OnSysCommand),
      platform::OnMessage(WM_PAINT, &Self::OnPaint),
      platform::OnQueryDragIcon(&Self::OnQueryDragIcon),
      platform::OnNotify(BN_CLICKED, morvane::IDC_ADDRESS_TO_CODE, &Self::OnAddressToCode),
      platform::OnNotify(BN_CLICKED, morvane::IDC_CODE_TO_ADDRESS, &Self::OnCodeToAddress),
      platform::OnNotify(BN_CLICKED, morvane::IDC_QUIT, &Self::OnQuit),
      platform::OnMessage(WM_CLOSE, &Self::OnClose),
  };
  return &map;
}

void CMorvaneDlg::DoDataExchange(CDataExchange* dx) {
  CDialog::DoDataExchange(dx);
}

BOOL CMorvaneDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  if (CMenu* system_menu = GetSystemMenu(FALSE)) {
    CString about;
    about.LoadString(morvane::IDS_ABOUTBOX);
    if (!about.IsEmpty()) {
      system_menu->AppendMenu(MF_SEPARATOR);
      system_menu->AppendMenu(MF_STRING, morvane::IDM_ABOUTBOX, about);
    }
  }
  SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
  SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));
  return TRUE;
}

void CMorvaneDlg::OnSysCommand(UINT id, LPARAM lparam) {
  if ((id & 0xFFF0) == morvane::IDM_ABOUTBOX) {
    CAboutDlg about;
    about.DoModal();
  } else {
    CDialog::OnSysCommand(id, lparam);
  }
}

void CMorvaneDlg::OnPaint() {
  if (!IsIconic()) {
    CDialog::OnPaint();
    return;
  }
  CPaintDC dc(this);
  SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
  const int icon_width = GetSystemMetrics(SM_CXICON);
  const int icon_height = GetSystemMetrics(SM_CYICON);
  RECT rect;
  GetClientRect(&rect);
  // Signed division truncates towards zero: a 0 x 0 client gives (-15, -15).
  const int x = (static_cast<int>(rect.right - rect.left) - icon_width + 1) / 2;
  const int y = (static_cast<int>(rect.bottom - rect.top) - icon_height + 1) / 2;
  dc.DrawIcon(x, y, m_hIcon);
}

HCURSOR CMorvaneDlg::OnQueryDragIcon() {
  return m_hIcon;
}

void CMorvaneDlg::OnAddressToCode() {
  CAddressToCodeDlg dialog;
  if (dialog.DoModal() == -1) EndDialog(0);
}

void CMorvaneDlg::OnCodeToAddress() {
  CCodeToAddressDlg dialog;
  if (dialog.DoModal() == -1) EndDialog(0);
}

void CMorvaneDlg::OnQuit() {
  EndDialog(0);
}

void CMorvaneDlg::OnClose() {
  EndDialog(0);
  CDialog::OnClose();
}
