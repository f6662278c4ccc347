#include "platform/cdialog.h"

#include <string>
#include <vector>

#include "platform/cwinapp.h"
#include "platform/encoding.h"
#include "platform/list_redraw.h"
#include "platform/messagebox.h"
#include "platform/resources.h"

namespace {

// The messages whose answer a dialog procedure returns itself rather than in DWLP_MSGRESULT.
bool ReturnsDirectly(UINT message) {
  switch (message) {
    case WM_INITDIALOG:
    case WM_QUERYDRAGICON:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
      return true;
    default:
      return false;
  }
}

const platform::DialogTemplate* TemplateOf(UINT id) {
  return platform::FindDialogTemplate(static_cast<int>(id));
}

}  // namespace

// Every dialog of the framework runs this procedure; its CDialog rides in DWLP_USER from
// WM_INITDIALOG on. Messages before that (WM_SETFONT) go to the dialog manager.
INT_PTR CALLBACK DialogProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  CDialog* dialog = nullptr;
  if (message == WM_INITDIALOG) {
    dialog = reinterpret_cast<CDialog*>(lparam);
    ::SetWindowLongPtrA(window, DWLP_USER, reinterpret_cast<LONG_PTR>(dialog));
    dialog->m_hWnd = window;
    dialog->PlaceOverOwner();
  } else {
    dialog = reinterpret_cast<CDialog*>(::GetWindowLongPtrA(window, DWLP_USER));
  }
  if (dialog == nullptr) return FALSE;
  if (message == WM_NCDESTROY) {
    ::SetWindowLongPtrA(window, DWLP_USER, 0);
    if (dialog->m_hWnd == window) dialog->m_hWnd = nullptr;
    return FALSE;
  }
  bool to_default = false;
  const LRESULT result = dialog->HandleSystemMessage(message, wparam, lparam, to_default);
  if (to_default) return FALSE;
  if (message == WM_INITDIALOG && result != FALSE) {
    // The first tab stop gets the focus as a Tab would give it: a push button getting it
    // becomes the default one, so that Enter presses it. (Wine's dialog manager only sets the
    // focus, and Enter would then send IDOK.)
    if (HWND first = ::GetNextDlgTabItem(window, nullptr, FALSE)) {
      ::SendMessageA(window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(first), TRUE);
      return FALSE;
    }
  }
  if (ReturnsDirectly(message)) return static_cast<INT_PTR>(result);
  ::SetWindowLongPtrA(window, DWLP_MSGRESULT, result);
  return TRUE;
}

CDialog::CDialog(UINT template_id, CWnd* parent)
    : m_nIDTemplate(template_id), m_pParentWnd(parent) {}

CDialog::~CDialog() {
  // A modeless dialog still on the screen goes with its object.
  if (!m_bModal && ::IsWindow(m_hWnd) &&
      reinterpret_cast<CDialog*>(::GetWindowLongPtrA(m_hWnd, DWLP_USER)) == this) {
    ::DestroyWindow(m_hWnd);
  }
  m_hWnd = nullptr;
}

HWND CDialog::ModalOwner() const {
  if (m_pParentWnd != nullptr && ::IsWindow(m_pParentWnd->m_hWnd)) return m_pParentWnd->m_hWnd;
  // No owner given: the application's main window owns it, unless this is the main window.
  CWnd* main = AfxGetMainWnd();
  if (main != nullptr && main != this && ::IsWindow(main->m_hWnd)) return main->m_hWnd;
  return nullptr;
}

void CDialog::PlaceOverOwner() {
  const platform::DialogTemplate* tpl = TemplateOf(m_nIDTemplate);
  HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
  if (tpl == nullptr || (tpl->style & DS_CENTER) != 0) return;
  RECT area{};
  if (owner != nullptr && !::IsIconic(owner)) {
    ::GetWindowRect(owner, &area);
  } else {
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
  }
  RECT rect{};
  ::GetWindowRect(m_hWnd, &rect);
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  int x = area.left + (area.right - area.left - width) / 2;
  int y = area.top + (area.bottom - area.top - height) / 2;
  // Never off the top-left of the screen, where the caption could not be reached.
  x = x < 0 ? 0 : x;
  y = y < 0 ? 0 : y;
  ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int CDialog::DoModal() {
  const platform::DialogTemplate* tpl = TemplateOf(m_nIDTemplate);
  if (tpl == nullptr) return -1;
  const std::vector<WORD> binary = platform::BuildDialogTemplate(*tpl);
  m_bModal = true;
  const INT_PTR result = ::DialogBoxIndirectParamA(
      AfxGetInstanceHandle(), reinterpret_cast<LPCDLGTEMPLATEA>(binary.data()), ModalOwner(),
      DialogProcedure, reinterpret_cast<LPARAM>(this));
  m_bModal = false;
  m_hWnd = nullptr;
  return static_cast<int>(result);
}

BOOL CDialog::Create(UINT template_id, CWnd* parent) {
  m_nIDTemplate = template_id;
  if (parent != nullptr) m_pParentWnd = parent;
  const platform::DialogTemplate* tpl = TemplateOf(template_id);
  if (tpl == nullptr) return FALSE;
  const std::vector<WORD> binary = platform::BuildDialogTemplate(*tpl);
  HWND owner = m_pParentWnd != nullptr ? m_pParentWnd->m_hWnd : nullptr;
  HWND window = ::CreateDialogIndirectParamA(
      AfxGetInstanceHandle(), reinterpret_cast<LPCDLGTEMPLATEA>(binary.data()), owner,
      DialogProcedure, reinterpret_cast<LPARAM>(this));
  if (window == nullptr) return FALSE;
  if (::IsWindowVisible(window)) {
    // The caller may block the thread right after (a search does): paint the window and its
    // controls now, and let the window system put it on the screen.
    ::RedrawWindow(window, nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    ::GdiFlush();
    MSG msg;
    while (::PeekMessageA(&msg, window, 0, 0, PM_REMOVE | PM_QS_PAINT)) ::DispatchMessageA(&msg);
  }
  return TRUE;
}

void CDialog::EndDialog(int result) {
  if (!::IsWindow(m_hWnd)) return;
  if (m_bModal) {
    ::EndDialog(m_hWnd, result);
  } else {
    ::ShowWindow(m_hWnd, SW_HIDE);
  }
}

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

LRESULT CDialog::DefWindowProc(UINT message, WPARAM /*wparam*/, LPARAM /*lparam*/) {
  if (message == WM_INITDIALOG) return OnInitDialog();
  // The dialog manager does the rest once the procedure returns FALSE; a handler that asks for
  // the default of another message than its own gets nothing.
  if (message == CurrentMessageId()) LeaveToDefault();
  return 0;
}

void CDataExchange::Fail() {
  m_bFailed = true;
  HWND control = m_pDlgWnd->GetDlgItemHandle(m_idLastControl);
  if (!::IsWindow(control)) return;
  char class_name[16] = {};
  ::GetClassNameA(control, class_name, sizeof class_name);
  if (::lstrcmpiA(class_name, "Edit") == 0) ::SendMessageA(control, EM_SETSEL, 0, -1);
  ::SetFocus(control);
}

void DDX_Control(CDataExchange* dx, int id, CWnd& control) {
  dx->m_idLastControl = id;
  if (control.m_hWnd != nullptr) return;
  HWND window = dx->m_pDlgWnd->GetDlgItemHandle(id);
  if (!control.Attach(window)) return;
  char class_name[16] = {};
  ::GetClassNameA(window, class_name, sizeof class_name);
  // The program's list boxes are filled by searches that block the thread.
  if (::lstrcmpiA(class_name, "ListBox") == 0) platform::DeferListRedraw(window);
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
    if (::IsWindow(control))
      ::SendMessageA(control, EM_LIMITTEXT, static_cast<WPARAM>(max_bytes), 0);
    return;
  }
  if (value.GetLength() <= max_bytes) return;
  // The framework's own message: "enter no more than N characters".
  const std::string text = std::to_string(max_bytes) + " 文字以内で入力してください。";
  AfxMessageBox(platform::Utf8ToCp932(text).value_or(std::to_string(max_bytes)).c_str(),
                MB_ICONEXCLAMATION);
  dx->Fail();
}
