// A dialog of the framework for the Windows tests: made modeless from a registered template,
// it records every WM_COMMAND notification its controls send, in order.
#pragma once

#include <utility>
#include <vector>

#include "platform/afxwin.h"

namespace win32_test {

// Template of the contract suites' form (see tests/contract/contract_driver.h).
inline constexpr int kFormTemplate = 900;
void RegisterFormTemplate();

// Delivers the messages waiting for this thread, as the modal loop would between a person's
// actions.
void Pump();

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

}  // namespace win32_test
