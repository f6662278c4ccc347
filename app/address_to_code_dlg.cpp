#include "address_to_code_dlg.h"

#include <string>
#include <string_view>

#include "orvek/orvek.h"
#include "program_resources.h"
#include "resource_ids.h"
#include "searching_dlg.h"

#include "search_keys.h"

using namespace morvane;

namespace {

// The key of a box's name; a box holds at most its limit of bytes, and no more is taken.
std::string NameKey(const CString& text, std::size_t limit) {
  return orvek::search_keys::NameKey(
      std::string_view(static_cast<const char*>(text)).substr(0, limit));
}

}  // namespace

CAddressToCodeDlg::CAddressToCodeDlg(CWnd* parent) : CResultDialog(IDD_ADDRESS_TO_CODE, parent) {
  m_strCount = Sjis("0件");
}

const platform::MessageMap* CAddressToCodeDlg::GetMessageMap() const {
  using Self = CAddressToCodeDlg;
  static const platform::MessageMap map = {
      platform::OnNotify(BN_CLICKED, IDC_SEARCH, &Self::OnSearch),
      platform::OnNotify(BN_CLICKED, IDC_EXIT, &Self::OnExit),
      platform::OnNotify(BN_CLICKED, IDC_BACK, &Self::OnBack),
      platform::OnMessage(WM_DESTROY, &Self::OnDestroy),
      platform::OnNotify(EN_SETFOCUS, IDC_TOWN, &Self::OnSetfocusInput),
      platform::OnNotify(EN_KILLFOCUS, IDC_TOWN, &Self::OnKillfocusInput),
      platform::OnNotify(EN_SETFOCUS, IDC_CITY, &Self::OnSetfocusInput),
      platform::OnNotify(EN_KILLFOCUS, IDC_CITY, &Self::OnKillfocusInput),
      platform::OnNotify(EN_SETFOCUS, IDC_PREF, &Self::OnSetfocusInput),
      platform::OnNotify(EN_KILLFOCUS, IDC_PREF, &Self::OnKillfocusInput),
      platform::OnNotify(BN_CLICKED, IDC_ADDR_CLEAR, &Self::OnClear),
      platform::OnNotify(LBN_SELCHANGE, IDC_RESULT_LIST, &Self::OnSelchangeResult),
      platform::OnVKeyToItem(&Self::OnResultKey),
      platform::OnNotify(EN_SETFOCUS, IDC_ADDR_RES_ALL, &Self::OnSetfocusResAll),
      platform::OnNotify(EN_SETFOCUS, IDC_ADDR_RES_TOWN, &Self::OnSetfocusResTown),
      platform::OnNotify(EN_SETFOCUS, IDC_ADDR_RES_CITY, &Self::OnSetfocusResCity),
      platform::OnNotify(EN_SETFOCUS, IDC_ADDR_RES_PREF, &Self::OnSetfocusResPref),
  };
  return &map;
}

void CAddressToCodeDlg::DoDataExchange(CDataExchange* dx) {
  CDialog::DoDataExchange(dx);
  DDX_Control(dx, IDC_ADDR_RES_PREF, m_editResPref);
  DDX_Control(dx, IDC_ADDR_RES_CITY, m_editResCity);
  DDX_Control(dx, IDC_ADDR_RES_TOWN, m_editResTown);
  DDX_Control(dx, IDC_ADDR_RES_ALL, m_editResAll);
  DDX_Control(dx, IDC_RESULT_LIST, m_listResult);
  DDX_Text(dx, IDC_PREF, m_strPref);
  DDV_MaxChars(dx, m_strPref, kPrefLimit);
  DDX_Text(dx, IDC_CITY, m_strCity);
  DDV_MaxChars(dx, m_strCity, kCityLimit);
  DDX_Text(dx, IDC_TOWN, m_strTown);
  DDV_MaxChars(dx, m_strTown, kTownLimit);
  DDX_Text(dx, IDC_COUNT, m_strCount);
  DDX_Text(dx, IDC_ADDR_RES_PREF, m_strResPref);
  DDX_Text(dx, IDC_ADDR_RES_CITY, m_strResCity);
  DDX_Text(dx, IDC_ADDR_RES_TOWN, m_strResTown);
  DDX_Text(dx, IDC_ADDR_RES_ALL, m_strResAll);
}

BOOL CAddressToCodeDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  InitIme(m_hWnd);
  return TRUE;
}

void CAddressToCodeDlg::OnSearch() {
  UpdateData(TRUE);
  std::string pref = NameKey(m_strPref, kPrefLimit);
  std::string city = NameKey(m_strCity, kCityLimit);
  std::string town = NameKey(m_strTown, kTownLimit);
  const int mode = orvek::search_keys::MatchMode(!pref.empty(), !city.empty(), !town.empty());
  if (mode == 0) return;  // nothing to search for: no popup, no search

  COrvek_Bango_Kensaku kensaku;
  CSearchingDlg searching;
  searching.Create(IDD_SEARCHING);
  kensaku.fnGetOrvek(pref.data(), city.data(), town.data(), mode, &m_listResult);
  const int count = m_listResult.GetCount();
  searching.DestroyWindow();

  char number[34];
  _itoa(count, number, 10);
  m_strCount = number;
  m_strCount += Sjis("件");
  UpdateData(FALSE);
}

void CAddressToCodeDlg::OnClear() {
  m_strPref.Empty();
  m_strCity.Empty();
  m_strTown.Empty();
  m_strCount = Sjis("0件");
  m_listResult.ResetContent();
  UpdateData(FALSE);
}

void CAddressToCodeDlg::OnDestroy() {
  CDialog::OnDestroy();
  ReleaseIme();
}

void CAddressToCodeDlg::InitIme(HWND window) {
  m_hWndIme = window;
  m_hIMC = ImmGetContext(m_hWnd);
}

void CAddressToCodeDlg::ImeOpen() {
  ImmSetOpenStatus(m_hIMC, TRUE);
}

void CAddressToCodeDlg::ImeClose() {
  ImmSetOpenStatus(m_hIMC, FALSE);
}

void CAddressToCodeDlg::ReleaseIme() {
  if (m_hIMC == nullptr) return;
  ImmReleaseContext(m_hWndIme, m_hIMC);
  m_hIMC = nullptr;
}
