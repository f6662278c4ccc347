#include "platform/cdialog.h"

#include <memory>
#include <string>

#include "platform/backend.h"
#include "platform/cwinapp.h"
#include "platform/dialogwindow.h"
#include "platform/encoding.h"
#include "platform/messagebox.h"
#include "platform/resources.h"

namespace {

platform::DialogWindow* AsDialog(HWND window) {
  if (!IsWindow(window) || window->Kind() != platform::WindowKind::Dialog) return nullptr;
  return static_cast<platform::DialogWindow*>(window);
}

// The first control that Tab would reach: where the focus goes when OnInitDialog returns TRUE.
HWND FirstTabStop(HWND dialog) {
  for (platform::Window* child : dialog->Children()) {
    if ((child->Style() & WS_TABSTOP) != 0 && child->IsVisible() && child->IsEnabled()) {
      return child;
    }
  }
  return nullptr;
}

// The window that owns a dialog: the parent given, else the application's main window (unless
// the dialog is that window), as the classic framework chooses for a dialog that names none.
HWND OwnerFor(const CWnd* dialog, const CWnd* parent) {
  HWND owner = parent != nullptr ? parent->m_hWnd : nullptr;
  if (owner == nullptr) {
    const CWnd* main = AfxGetMainWnd();
    if (main != nullptr && main != dialog) owner = main->m_hWnd;
  }
  return IsWindow(owner) ? owner : nullptr;
}

}  // namespace

CDialog::CDialog(UINT template_id, CWnd* parent)
    : m_nIDTemplate(template_id), m_pParentWnd(parent) {}

CDialog::~CDialog() {
  // A modeless dialog still on the screen goes with its object.
  if (IsWindow(m_hWnd) && m_hWnd->Handler() == this) {
    m_hWnd->SetHandler(nullptr);
    ::DestroyWindow(m_hWnd);
    m_hWnd = nullptr;
  }
}

bool CDialog::CreateFromTemplate(HWND owner, bool modal) {
  platform::Backend* backend = platform::CurrentBackend();
  const platform::DialogTemplate* tpl =
      platform::FindDialogTemplate(static_cast<int>(m_nIDTemplate));
  if (backend == nullptr || tpl == nullptr) return false;

  auto window = std::make_unique<platform::DialogWindow>(
      tpl->id, tpl->caption, tpl->style, tpl->ex_style, RECT{0, 0, tpl->cx, tpl->cy},
      tpl->font_name, tpl->point_size);
  platform::DialogWindow* dialog = window.get();
  platform::AdoptWindow(std::move(window));
  dialog->SetOwner(owner);
  for (const platform::ControlTemplate& control : tpl->controls) {
    HWND child = platform::CreateWindowObject(
        control.kind, control.id, control.text, control.style | WS_CHILD | WS_VISIBLE, 0,
        RECT{control.x, control.y, control.x + control.cx, control.y + control.cy}, dialog);
    if (control.icon_id != 0) child->SetImage(platform::FindIconResource(control.icon_id));
  }
  SubclassWindow(dialog);
  if (modal) dialog->BeginModal();
  if (!backend->DialogCreated(dialog)) {
    DestroyWindow();
    return false;
  }
  if (SendMessage(WM_INITDIALOG) != FALSE && IsWindow(dialog)) {
    if (HWND first = FirstTabStop(dialog)) {
      if (first->Kind() == platform::WindowKind::Edit) first->Dispatch(EM_SETSEL, 0, -1);
      ::SetFocus(first);
    }
  }
  return IsWindow(dialog);
}

int CDialog::DoModal() {
  HWND owner = OwnerFor(this, m_pParentWnd);
  const bool owner_was_enabled = owner != nullptr && owner->IsEnabled();
  if (owner != nullptr) owner->SetEnabled(false);

  int result = -1;
  if (CreateFromTemplate(owner, true)) {
    platform::DialogWindow* dialog = AsDialog(m_hWnd);
    if (!dialog->ModalEnded()) {
      dialog->SetVisible(true);
      platform::CurrentBackend()->RunModalLoop(dialog);
    }
    result = dialog->ModalResult();
    dialog->SetVisible(false);
  }
  // The owner comes back before this window goes, so that it is the one activated.
  if (owner != nullptr && IsWindow(owner) && owner_was_enabled) owner->SetEnabled(true);
  if (IsWindow(m_hWnd)) DestroyWindow();
  return result;
}

BOOL CDialog::Create(UINT template_id, CWnd* parent) {
  m_nIDTemplate = template_id;
  if (parent != nullptr) m_pParentWnd = parent;
  HWND owner = OwnerFor(this, m_pParentWnd);
  const platform::DialogTemplate* tpl = platform::FindDialogTemplate(static_cast<int>(template_id));
  if (tpl == nullptr || !CreateFromTemplate(owner, false)) return FALSE;
  platform::DialogWindow* dialog = AsDialog(m_hWnd);
  if ((tpl->style & WS_VISIBLE) != 0) dialog->SetVisible(true);
  if (dialog->IsVisible()) platform::CurrentBackend()->ModelessShown(dialog);
  return TRUE;
}

void CDialog::EndDialog(int result) {
  if (platform::DialogWindow* dialog = AsDialog(m_hWnd)) {
    if (dialog->IsModal()) {
      dialog->EndModal(result);
    } else {
      dialog->SetVisible(false);
    }
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

LRESULT CDialog::DefWindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_INITDIALOG) return OnInitDialog();
  return CWnd::DefWindowProc(message, wparam, lparam);
}

void CDataExchange::Fail() {
  m_bFailed = true;
  HWND control = m_pDlgWnd->GetDlgItemHandle(m_idLastControl);
  if (IsWindow(control)) {
    if (control->Kind() == platform::WindowKind::Edit) control->Dispatch(EM_SETSEL, 0, -1);
    ::SetFocus(control);
  }
}

void DDX_Control(CDataExchange* dx, int id, CWnd& control) {
  dx->m_idLastControl = id;
  if (control.m_hWnd == nullptr) control.Attach(dx->m_pDlgWnd->GetDlgItemHandle(id));
}

void DDX_Text(CDataExchange* dx, int id, CString& value) {
  dx->m_idLastControl = id;
  if (dx->m_bFailed) return;
  HWND control = dx->m_pDlgWnd->GetDlgItemHandle(id);
  if (!IsWindow(control)) return;
  if (dx->m_bSaveAndValidate) {
    value = control->Text().c_str();
  } else {
    ::SendMessageA(control, WM_SETTEXT, 0,
                   reinterpret_cast<LPARAM>(static_cast<const char*>(value)));
  }
}

void DDV_MaxChars(CDataExchange* dx, const CString& value, int max_bytes) {
  if (dx->m_bFailed) return;
  HWND control = dx->m_pDlgWnd->GetDlgItemHandle(dx->m_idLastControl);
  if (!dx->m_bSaveAndValidate) {
    if (IsWindow(control)) control->Dispatch(EM_LIMITTEXT, static_cast<WPARAM>(max_bytes), 0);
    return;
  }
  if (value.GetLength() <= max_bytes) return;
  // The framework's own message: "enter no more than N characters".
  const std::string text = std::to_string(max_bytes) + " 文字以内で入力してください。";
  AfxMessageBox(platform::Utf8ToCp932(text).value_or(std::to_string(max_bytes)).c_str(),
                MB_ICONEXCLAMATION);
  dx->Fail();
}
