// CDialog over the system's dialog manager: templates are built in memory from the program's
// tables, modal runs are DialogBoxIndirectParam's. The data exchange and the routing are
// platform/src's.
#include "platform/cdialog.h"

#include <vector>

#include "dialog_template.h"
#include "edit_input.h"
#include "platform/cwinapp.h"
#include "platform/resource_registry.h"
#include "search_timing.h"

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

// Before OnInitDialog: a dialog without DS_CENTER goes over its owner's middle.
void PlaceOverOwner(HWND window) {
  HWND owner = ::GetWindow(window, GW_OWNER);
  if ((::GetWindowLongA(window, GWL_STYLE) & DS_CENTER) != 0) return;
  RECT area{};
  if (owner != nullptr && !::IsIconic(owner)) {
    ::GetWindowRect(owner, &area);
  } else {
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
  }
  RECT rect{};
  ::GetWindowRect(window, &rect);
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  int x = area.left + (area.right - area.left - width) / 2;
  int y = area.top + (area.bottom - area.top - height) / 2;
  // Never off the top-left of the screen, where the caption could not be reached.
  x = x < 0 ? 0 : x;
  y = y < 0 ? 0 : y;
  ::SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// A person's text enters the dialog's edits only where code page 932 can hold it.
void GuardEdits(HWND dialog) {
  for (HWND child = ::GetWindow(dialog, GW_CHILD); child != nullptr;
       child = ::GetWindow(child, GW_HWNDNEXT)) {
    char class_name[16] = {};
    ::GetClassNameA(child, class_name, sizeof class_name);
    if (::lstrcmpiA(class_name, "Edit") == 0) platform::RefuseCharactersWithoutCp932Form(child);
  }
}

// Every dialog of the framework runs this procedure; its CDialog rides in DWLP_USER from
// WM_INITDIALOG on. Messages before that (WM_SETFONT) go to the dialog manager.
INT_PTR CALLBACK DialogProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  CDialog* dialog = nullptr;
  if (message == WM_INITDIALOG) {
    dialog = reinterpret_cast<CDialog*>(lparam);
    ::SetWindowLongPtrA(window, DWLP_USER, reinterpret_cast<LONG_PTR>(dialog));
    dialog->m_hWnd = window;
    PlaceOverOwner(window);
    GuardEdits(window);
  } else {
    dialog = reinterpret_cast<CDialog*>(::GetWindowLongPtrA(window, DWLP_USER));
  }
  if (dialog == nullptr) return FALSE;
  if (message == WM_COMMAND && HIWORD(wparam) == BN_CLICKED && lparam != 0) {
    platform::search_timing::ButtonPressed();
  }
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

// The owner a modal run gets: the parent named, else the application's main window, unless
// that is the dialog itself.
HWND ModalOwner(const CDialog* dialog, const CWnd* parent) {
  if (parent != nullptr && ::IsWindow(parent->m_hWnd)) return parent->m_hWnd;
  CWnd* main = AfxGetMainWnd();
  if (main != nullptr && main != dialog && ::IsWindow(main->m_hWnd)) return main->m_hWnd;
  return nullptr;
}

}  // namespace

CDialog::~CDialog() {
  // A modeless dialog still on the screen goes with its object.
  if (!m_bModal && ::IsWindow(m_hWnd) &&
      reinterpret_cast<CDialog*>(::GetWindowLongPtrA(m_hWnd, DWLP_USER)) == this) {
    ::DestroyWindow(m_hWnd);
  }
  m_hWnd = nullptr;
}

int CDialog::DoModal() {
  const platform::DialogTemplate* tpl = TemplateOf(m_nIDTemplate);
  if (tpl == nullptr) return -1;
  const std::vector<WORD> binary = platform::BuildDialogTemplate(*tpl);
  m_bModal = true;
  const INT_PTR result = ::DialogBoxIndirectParamA(
      AfxGetInstanceHandle(), reinterpret_cast<LPCDLGTEMPLATEA>(binary.data()),
      ModalOwner(this, m_pParentWnd), DialogProcedure, reinterpret_cast<LPARAM>(this));
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

LRESULT CDialog::DefWindowProc(UINT message, WPARAM /*wparam*/, LPARAM /*lparam*/) {
  if (message == WM_INITDIALOG) return OnInitDialog();
  // The dialog manager does the rest once the procedure returns FALSE; a handler that asks for
  // the default of another message than its own gets nothing.
  if (message == CurrentMessageId()) LeaveToDefault();
  return 0;
}
