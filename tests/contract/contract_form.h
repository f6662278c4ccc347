// The contract suites' form (see contract_driver.h) as a dialog of the framework, made from a
// registered template on any backend; the dialog records every WM_COMMAND notification its
// controls send, in order.
#pragma once

#include <utility>
#include <vector>

#include "platform/afxwin.h"

namespace contract {

inline constexpr int kFormTemplate = 900;
void RegisterFormTemplate();

class RecordingDialog : public CDialog {
 public:
  explicit RecordingDialog(UINT template_id) : CDialog(template_id) {}
  HWND Item(int id) const { return ::GetDlgItem(m_hWnd, id); }

  std::vector<std::pair<int, WORD>> notes;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override {
    if (message == WM_COMMAND && lparam != 0) notes.emplace_back(LOWORD(wparam), HIWORD(wparam));
    return CDialog::WindowProc(message, wparam, lparam);
  }
};

}  // namespace contract
