#include "code_to_address_dlg.h"

#include <string>

#include "orvek/orvek.h"
#include "resource_ids.h"
#include "search_keys.h"
#include "searching_dlg.h"

using namespace morvane;

CCodeToAddressDlg::CCodeToAddressDlg(CWnd* parent) : CResultDialog(IDD_CODE_TO_ADDRESS, parent) {}

const platform::MessageMap* CCodeToAddressDlg::GetMessageMap() const {
  using Self = CCodeToAddressDlg;
  static const platform::MessageMap map = {
      platform::OnNotify(BN_CLICKED, IDC_SEARCH, &Self::OnSearch),
      platform::OnNotify(BN_CLICKED, IDC_EXIT, &Self::OnExit),
      platform::OnNotify(BN_CLICKED, IDC_BACK, &Self::OnBack),
      platform::OnNotify(BN_CLICKED, IDC_CODE_CLEAR, &Self::OnClear),
      platform::OnNotify(LBN_SELCHANGE, IDC_RESULT_LIST, &Self::OnSelchangeResult),
      platform::OnVKeyToItem(&Self::OnResultKey),
      platform::OnNotify(EN_SETFOCUS, IDC_CODE_RES_PREF, &Self::OnSetfocusResPref),
      platform::OnNotify(EN_SETFOCUS, IDC_CODE_RES_CITY, &Self::OnSetfocusResCity),
      platform::OnNotify(EN_SETFOCUS, IDC_CODE_RES_TOWN, &Self::OnSetfocusResTown),
      platform::OnNotify(EN_SETFOCUS, IDC_CODE_RES_ALL, &Self::OnSetfocusResAll),
  };
  return &map;
}

void CCodeToAddressDlg::DoDataExchange(CDataExchange* dx) {
  CDialog::DoDataExchange(dx);
  DDX_Control(dx, IDC_CODE_RES_ALL, m_editResAll);
  DDX_Control(dx, IDC_CODE_RES_TOWN, m_editResTown);
  DDX_Control(dx, IDC_CODE_RES_CITY, m_editResCity);
  DDX_Control(dx, IDC_CODE_RES_PREF, m_editResPref);
  DDX_Control(dx, IDC_RESULT_LIST, m_listResult);
  DDX_Text(dx, IDC_CODE4, m_strCode4);
  DDV_MaxChars(dx, m_strCode4, 4);
  DDX_Text(dx, IDC_CODE3, m_strCode3);
  DDV_MaxChars(dx, m_strCode3, 3);
  DDX_Text(dx, IDC_CODE_RES_ALL, m_strResAll);
  DDX_Text(dx, IDC_CODE_RES_TOWN, m_strResTown);
  DDX_Text(dx, IDC_CODE_RES_CITY, m_strResCity);
  DDX_Text(dx, IDC_CODE_RES_PREF, m_strResPref);
}

void CCodeToAddressDlg::OnSearch() {
  UpdateData(TRUE);
  // The key of the digits typed in the two boxes: with seven it is the quoted code as the data
  // file holds it; with fewer it matches nothing.
  std::string digits = static_cast<const char*>(m_strCode3);
  digits += static_cast<const char*>(m_strCode4);
  std::string key = orvek::search_keys::CodeKey(digits);

  COrvek_Bango_Kensaku kensaku;
  CSearchingDlg searching;
  searching.Create(IDD_SEARCHING);
  searching.ShowWindow(SW_SHOW);
  kensaku.fnGetChimei(key.data(), &m_listResult);
  searching.DestroyWindow();
}

void CCodeToAddressDlg::OnClear() {
  m_strCode4.Empty();
  m_strCode3.Empty();
  m_listResult.ResetContent();
  UpdateData(FALSE);
}
