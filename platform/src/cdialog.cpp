// CDialog's data exchange and command routing, the same over every window system; each port's
// cdialog.cpp makes, runs and ends the window.
#include "platform/cdialog.h"

#include <string>

#include "framework_port.h"
#include "platform/encoding.h"
#include "platform/messagebox.h"

namespace {

bool IsEdit(HWND window) {
  char class_name[16] = {};
  ::GetClassNameA(window, class_name, sizeof class_name);
  return ::lstrcmpiA(class_name, "Edit") == 0;
}

}  // namespace

CDialog::CDialog(UINT template_id, CWnd* parent)
    : m_nIDTemplate(template_id), m_pParentWnd(parent) {}

BOOL CDialog::UpdateData(BOOL save_and_validate) {
  CDataExchange dx(this, save_and_validate);
  DoDataExchange(&dx);
  return dx.m_bFailed ? FALSE : TRUE;
}

BOOL CDialog::OnInitDialog() {
  UpdateData(FALSE);
  return TRUE;
}

void CDialog::OnOK() {
  if (!UpdateData(TRUE)) return;
  EndDialog(IDOK);
}

void CDialog::OnCancel() {
  EndDialog(IDCANCEL);
}

void CDialog::DoDataExchange(CDataExchange* /*dx*/) {}

BOOL CDialog::OnCommand(WPARAM wparam, LPARAM /*lparam*/) {
  if (HIWORD(wparam) != BN_CLICKED) return FALSE;
  switch (LOWORD(wparam)) {
    case IDOK:
      OnOK();
      return TRUE;
    case IDCANCEL:
      OnCancel();
      return TRUE;
    default:
      return FALSE;
  }
}

void CDataExchange::Fail() {
  m_bFailed = true;
  HWND control = m_pDlgWnd->GetDlgItemHandle(m_idLastControl);
  if (!::IsWindow(control)) return;
  if (IsEdit(control)) ::SendMessageA(control, EM_SETSEL, 0, -1);
  ::SetFocus(control);
}

void DDX_Control(CDataExchange* dx, int id, CWnd& control) {
  dx->m_idLastControl = id;
  if (control.m_hWnd != nullptr) return;
  HWND window = dx->m_pDlgWnd->GetDlgItemHandle(id);
  if (control.Attach(window)) platform::port::ControlAttached(window);
}

void DDX_Text(CDataExchange* dx, int id, CString& value) {
  dx->m_idLastControl = id;
  if (dx->m_bFailed) return;
  HWND control = dx->m_pDlgWnd->GetDlgItemHandle(id);
  if (!::IsWindow(control)) return;
  if (dx->m_bSaveAndValidate) {
    CWnd wrapper;
    wrapper.Attach(control);
    wrapper.GetWindowText(value);
    wrapper.Detach();
  } else {
    ::SetWindowTextA(control, value);
  }
}

void DDV_MaxChars(CDataExchange* dx, const CString& value, int max_bytes) {
  if (dx->m_bFailed) return;
  HWND control = dx->m_pDlgWnd->GetDlgItemHandle(dx->m_idLastControl);
  if (!dx->m_bSaveAndValidate) {
    if (::IsWindow(control)) {
      ::SendMessageA(control, EM_LIMITTEXT, static_cast<WPARAM>(max_bytes), 0);
    }
    return;
  }
  if (value.GetLength() <= max_bytes) return;
  // The framework's own message: "enter no more than N characters".
  const std::string text = std::to_string(max_bytes) + " 文字以内で入力してください。";
  AfxMessageBox(platform::Utf8ToCp932(text).value_or(std::to_string(max_bytes)).c_str(),
                MB_ICONEXCLAMATION);
  dx->Fail();
}
