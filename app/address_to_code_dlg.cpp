#include "address_to_code_dlg.h"

#include <cstring>

#include "orvek/orvek.h"
#include "program_resources.h"
#include "resource_ids.h"
#include "searching_dlg.h"

using namespace morvane;

namespace {

// A key is the name between double quotes. The arrays hold the longest name a box takes, both
// quotes and the terminator; a key from an empty box is empty.
template <std::size_t N>
bool QuoteKey(const CString& text, char (&key)[N]) {
  std::memset(key, 0, N);
  if (_mbscmp(reinterpret_cast<const unsigned char*>(static_cast<const char*>(text)),
              reinterpret_cast<const unsigned char*>("")) == 0) {
    return false;
  }
  key[0] = '"';
  std::strncat(key, text, N - 3);
  const std::size_t length = std::strlen(key);
  key[length] = '"';
  key[length + 1] = '\0';
  return true;
}

// The match mode by which fields were given: 0 when none was.
int MatchMode(bool pref, bool city, bool town) {
  if (pref && city && town) return 1;
  if (pref && city) return 2;
  if (pref && town) return 3;
  if (city && town) return 4;
  if (pref || city || town) return 5;
  return 0;
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
  char pref[kPrefLimit + 3];
  char city[kCityLimit + 3];
  char town[kTownLimit + 3];
  const bool has_pref = QuoteKey(m_strPref, pref);
  const bool has_city = QuoteKey(m_strCity, city);
  const bool has_town = QuoteKey(m_strTown, town);
  const int mode = MatchMode(has_pref, has_city, has_town);
  if (mode == 0) return;  // nothing to search for: no popup, no search

  COrvek_Bango_Kensaku kensaku;
  CSearchingDlg searching;
  searching.Create(IDD_SEARCHING);
  kensaku.fnGetOrvek(pref, city, town, mode, &m_listResult);
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
