// CListBox: the framework's wrapper of a list box window.
#pragma once

#include "platform/cwnd.h"

class CListBox : public CWnd {
 public:
  // Creates a list box; parent may be null for a box that no dialog holds (the command line).
  BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

  int GetCount() const { return static_cast<int>(SendMessage(LB_GETCOUNT)); }
  int GetCurSel() const { return static_cast<int>(SendMessage(LB_GETCURSEL)); }
  int SetCurSel(int index) { return static_cast<int>(SendMessage(LB_SETCURSEL, index)); }
  int AddString(const char* text);
  int InsertString(int index, const char* text);
  int DeleteString(UINT index);
  void ResetContent() { SendMessage(LB_RESETCONTENT); }
  int GetText(int index, char* buffer) const;
  void GetText(int index, CString& text) const;
  int GetTextLen(int index) const;
};
