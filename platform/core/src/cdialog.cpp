// CDialog over the core: the window is made from its template as the core's own objects, and
// the backend runs the modal loop. The data exchange and the routing are platform/src's.
#include "platform/cdialog.h"

#include <memory>

#include "platform/backend.h"
#include "platform/cwinapp.h"
#include "platform/dialogwindow.h"
#include "platform/resource_registry.h"

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

// Makes the dialog's window from the template, owned by owner, with the object handling its
// messages; sends WM_INITDIALOG.
bool CreateFromTemplate(CDialog& object, UINT template_id, HWND owner, bool modal) {
  platform::Backend* backend = platform::CurrentBackend();
  const platform::DialogTemplate* tpl = platform::FindDialogTemplate(static_cast<int>(template_id));
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
  object.Attach(dialog);
  dialog->SetHandler(&object);
  if (modal) dialog->BeginModal();
  if (!backend->DialogCreated(dialog)) {
    object.DestroyWindow();
    return false;
  }
  if (object.SendMessage(WM_INITDIALOG) != FALSE && IsWindow(dialog)) {
    if (HWND first = FirstTabStop(dialog)) {
      if (first->Kind() == platform::WindowKind::Edit) first->Dispatch(EM_SETSEL, 0, -1);
      ::SetFocus(first);
    }
  }
  return IsWindow(dialog);
}

}  // namespace

CDialog::~CDialog() {
  // A modeless dialog still on the screen goes with its object.
  if (IsWindow(m_hWnd) && m_hWnd->Handler() == this) {
    m_hWnd->SetHandler(nullptr);
    ::DestroyWindow(m_hWnd);
    m_hWnd = nullptr;
  }
}

int CDialog::DoModal() {
  HWND owner = OwnerFor(this, m_pParentWnd);
  const bool owner_was_enabled = owner != nullptr && owner->IsEnabled();
  if (owner != nullptr) owner->SetEnabled(false);

  int result = -1;
  m_bModal = true;
  if (CreateFromTemplate(*this, m_nIDTemplate, owner, true)) {
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
  m_bModal = false;
  return result;
}

BOOL CDialog::Create(UINT template_id, CWnd* parent) {
  m_nIDTemplate = template_id;
  if (parent != nullptr) m_pParentWnd = parent;
  HWND owner = OwnerFor(this, m_pParentWnd);
  const platform::DialogTemplate* tpl = platform::FindDialogTemplate(static_cast<int>(template_id));
  if (tpl == nullptr || !CreateFromTemplate(*this, template_id, owner, false)) return FALSE;
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

LRESULT CDialog::DefWindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_INITDIALOG) return OnInitDialog();
  return CWnd::DefWindowProc(message, wparam, lparam);
}
