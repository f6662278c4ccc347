#include "result_dialog.h"

#include <cstring>
#include <string_view>

#include "platform/copy_text.h"
#include "row_splitter.h"

void CResultDialog::OnSelchangeResult() {
  const int index = m_listResult.GetCurSel();
  // The list notifies only when a person moved the selection onto a row, but a notification
  // without one must not read a row that is not there.
  if (index == LB_ERR) return;
  CString text;
  m_listResult.GetText(index, text);

  char row[CRowSplitter::kRowSize];
  std::strncpy(row, text, sizeof row);
  row[sizeof row - 1] = '\0';
  // Destinations that a row does not reach show nothing.
  char pref[CRowSplitter::kPrefSize] = {};
  char city[CRowSplitter::kCitySize] = {};
  char town[CRowSplitter::kTownSize] = {};
  CRowSplitter splitter;
  splitter.SplitRow(row, pref, city, town);

  // Each piece runs on past its word; every reader sees it up to its first space.
  m_strResPref = pref;
  m_strResPref.Replace(' ', '\0');
  m_strResCity = city;
  m_strResCity.Replace(' ', '\0');
  m_strResTown = town;
  m_strResTown.Replace(' ', '\0');
  m_strResAll = static_cast<const char*>(m_strResPref);
  m_strResAll += static_cast<const char*>(m_strResCity);
  m_strResAll += static_cast<const char*>(m_strResTown);
  UpdateData(FALSE);
}

void CResultDialog::SelectAndCopy(CEdit& edit) {
  edit.SendMessage(EM_SETSEL, 0, -1);
  edit.SendMessage(EM_SCROLLCARET, 0, 0);
  edit.SendMessage(WM_COPY, 0, 0);
}

int CResultDialog::OnResultKey(UINT key, HWND list) {
  const bool copy = (key == 'C' || key == VK_INSERT) && ::GetKeyState(VK_CONTROL) < 0;
  if (!copy || list != m_listResult.m_hWnd) return -1;
  const int index = m_listResult.GetCurSel();
  if (index == LB_ERR) return -2;  // nothing chosen, nothing copied
  CString text;
  m_listResult.GetText(index, text);
  // The code as the row shows it, up to the spaces before the prefecture.
  const std::string_view row = static_cast<const char*>(text);
  platform::CopyText(m_hWnd, row.substr(0, row.find(' ')));
  return -2;
}
