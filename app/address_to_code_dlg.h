// Address to postal code: any of prefecture, city and town area lists every matching
// record's code, and a label shows how many rows the list holds.
#pragma once

#include "orvek/orvek.h"
#include "result_dialog.h"

class CAddressToCodeDlg : public CResultDialog {
 public:
  explicit CAddressToCodeDlg(CWnd* parent = nullptr);
  ~CAddressToCodeDlg() override = default;

  // Entry limits of the three search boxes, in bytes. The town area takes what the library's
  // town column holds between its quotes (ST_ORVEK_TBL::szTown less both quotes and the
  // terminator): Japan Post's town names run to 76 bytes.
  static constexpr int kPrefLimit = 11;
  static constexpr int kCityLimit = 41;
  static constexpr int kTownLimit = sizeof(ST_ORVEK_TBL::szTown) - 3;

 protected:
  void DoDataExchange(CDataExchange* dx) override;
  BOOL OnInitDialog() override;
  const platform::MessageMap* GetMessageMap() const override;

  void OnSearch();
  void OnClear();
  void OnDestroy();
  void OnSetfocusInput() { ImeOpen(); }
  void OnKillfocusInput() { ImeClose(); }

  // Japanese input is on while the focus is in a search box: one input context for the
  // dialog, got at initialisation and released once when the window goes.
  void InitIme(HWND window);
  void ImeOpen();
  void ImeClose();
  void ReleaseIme();

  CString m_strPref;
  CString m_strCity;
  CString m_strTown;
  CString m_strCount;
  HIMC m_hIMC = nullptr;
  HWND m_hWndIme = nullptr;
};
