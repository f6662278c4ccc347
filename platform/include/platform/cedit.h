// CEdit: the framework's wrapper of an edit control.
#pragma once

#include "platform/cwnd.h"

class CEdit : public CWnd {
 public:
  void SetSel(int start, int end) { SendMessage(EM_SETSEL, static_cast<WPARAM>(start), end); }
  void LimitText(int limit = 0) { SendMessage(EM_LIMITTEXT, static_cast<WPARAM>(limit)); }
  void Copy() { SendMessage(WM_COPY); }
};
