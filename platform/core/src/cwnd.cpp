#include "platform/cwnd.h"

#include "platform/cmenu.h"
#include "platform/dialogwindow.h"

const HWND CWnd::wndTopMost = HWND_TOPMOST;

namespace {
platform::DialogWindow* AsDialog(HWND window) {
  if (!IsWindow(window) || window->Kind() != platform::WindowKind::Dialog) return nullptr;
  return static_cast<platform::DialogWindow*>(window);
}
}  // namespace

CWnd::~CWnd() {
  if (IsWindow(m_hWnd)) {
    if (m_hWnd->Handler() == this) m_hWnd->SetHandler(nullptr);
    if (m_bOwnsWindow) ::DestroyWindow(m_hWnd);
  }
  delete system_menu_;
}

BOOL CWnd::Attach(HWND window) {
  if (!IsWindow(window)) return FALSE;
  m_hWnd = window;
  m_bOwnsWindow = false;
  return TRUE;
}

HWND CWnd::Detach() {
  HWND window = m_hWnd;
  if (IsWindow(window) && window->Handler() == this) window->SetHandler(nullptr);
  m_hWnd = nullptr;
  m_bOwnsWindow = false;
  return window;
}

BOOL CWnd::SubclassWindow(HWND window) {
  if (!Attach(window)) return FALSE;
  window->SetHandler(this);
  return TRUE;
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wparam, LPARAM lparam) const {
  return ::SendMessageA(m_hWnd, message, wparam, lparam);
}

void CWnd::SetWindowText(const char* text) {
  SendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text != nullptr ? text : ""));
}

void CWnd::GetWindowText(CString& text) const {
  text = IsWindow(m_hWnd) ? m_hWnd->Text().c_str() : "";
}

int CWnd::GetDlgCtrlID() const {
  return IsWindow(m_hWnd) ? m_hWnd->Id() : 0;
}

HWND CWnd::GetDlgItemHandle(int id) const {
  return ::GetDlgItem(m_hWnd, id);
}

BOOL CWnd::IsWindowEnabled() const {
  return ::IsWindowEnabled(m_hWnd);
}

BOOL CWnd::EnableWindow(BOOL enable) {
  return ::EnableWindow(m_hWnd, enable);
}

BOOL CWnd::ShowWindow(int command) {
  if (!IsWindow(m_hWnd)) return FALSE;
  const BOOL was_visible = m_hWnd->IsVisible() ? TRUE : FALSE;
  platform::DialogWindow* dialog = AsDialog(m_hWnd);
  switch (command) {
    case SW_HIDE:
      m_hWnd->SetVisible(false);
      break;
    case SW_MINIMIZE:
      m_hWnd->SetVisible(true);
      if (dialog != nullptr) dialog->SetMinimized(true);
      break;
    case SW_RESTORE:
      m_hWnd->SetVisible(true);
      if (dialog != nullptr) dialog->SetMinimized(false);
      break;
    default:
      m_hWnd->SetVisible(true);
      break;
  }
  return was_visible;
}

BOOL CWnd::IsIconic() const {
  platform::DialogWindow* dialog = AsDialog(m_hWnd);
  return dialog != nullptr && dialog->IsMinimized() ? TRUE : FALSE;
}

BOOL CWnd::SetWindowPos(HWND insert_after, int x, int y, int cx, int cy, UINT flags) {
  platform::DialogWindow* dialog = AsDialog(m_hWnd);
  if (dialog == nullptr) return FALSE;
  if (insert_after == HWND_TOPMOST) dialog->SetTopmost(true);
  RECT rect = dialog->ScreenRect();
  POINT client = dialog->ClientSize();
  if ((flags & SWP_NOSIZE) == 0) {
    // The frame keeps its thickness; the client area takes the change.
    client.x += cx - (rect.right - rect.left);
    client.y += cy - (rect.bottom - rect.top);
    rect.right = rect.left + cx;
    rect.bottom = rect.top + cy;
  }
  if ((flags & SWP_NOMOVE) == 0) {
    const LONG width = rect.right - rect.left;
    const LONG height = rect.bottom - rect.top;
    rect = RECT{x, y, x + width, y + height};
  }
  dialog->SetScreenGeometry(rect, client);
  if ((flags & SWP_SHOWWINDOW) != 0) dialog->SetVisible(true);
  return TRUE;
}

void CWnd::GetWindowRect(RECT* rect) const {
  if (rect == nullptr) return;
  if (platform::DialogWindow* dialog = AsDialog(m_hWnd)) {
    *rect = dialog->ScreenRect();
  } else {
    *rect = IsWindow(m_hWnd) ? m_hWnd->Rect() : RECT{0, 0, 0, 0};
  }
}

void CWnd::GetClientRect(RECT* rect) const {
  if (rect == nullptr) return;
  if (platform::DialogWindow* dialog = AsDialog(m_hWnd)) {
    *rect = RECT{0, 0, dialog->ClientSize().x, dialog->ClientSize().y};
  } else if (IsWindow(m_hWnd)) {
    const RECT& r = m_hWnd->Rect();
    *rect = RECT{0, 0, r.right - r.left, r.bottom - r.top};
  } else {
    *rect = RECT{0, 0, 0, 0};
  }
}

CWnd* CWnd::SetFocus() {
  ::SetFocus(m_hWnd);
  return nullptr;
}

CMenu* CWnd::GetSystemMenu(BOOL /*revert*/) {
  platform::DialogWindow* dialog = AsDialog(m_hWnd);
  platform::Menu* menu = dialog != nullptr ? dialog->SystemMenu() : nullptr;
  if (menu == nullptr) return nullptr;
  if (system_menu_ == nullptr) system_menu_ = new CMenu();
  system_menu_->m_pMenu = menu;
  return system_menu_;
}

BOOL CWnd::DestroyWindow() {
  const BOOL destroyed = ::DestroyWindow(m_hWnd);
  m_hWnd = nullptr;
  m_bOwnsWindow = false;
  return destroyed;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
  const CurrentMessage outer = current_;
  current_ = CurrentMessage{message, wparam, lparam};
  LRESULT result = 0;
  bool handled = false;
  if (const platform::MessageMap* map = GetMessageMap()) {
    for (const platform::MessageMapEntry& entry : *map) {
      if (entry.message != message) continue;
      if (message == WM_COMMAND &&
          (entry.code != HIWORD(wparam) || static_cast<WORD>(entry.id) != LOWORD(wparam))) {
        continue;
      }
      result = entry.call(this, wparam, lparam);
      handled = true;
      break;
    }
  }
  if (!handled) {
    if (message != WM_COMMAND || !OnCommand(wparam, lparam)) {
      result = DefWindowProc(message, wparam, lparam);
    }
  }
  current_ = outer;
  return result;
}

BOOL CWnd::OnCommand(WPARAM /*wparam*/, LPARAM /*lparam*/) {
  return FALSE;
}

LRESULT CWnd::Default() {
  return DefWindowProc(current_.message, current_.wparam, current_.lparam);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
  return IsWindow(m_hWnd) ? m_hWnd->DefaultProcedure(message, wparam, lparam) : 0;
}

void CWnd::OnSysCommand(UINT id, LPARAM lparam) {
  DefWindowProc(WM_SYSCOMMAND, id, lparam);
}
void CWnd::OnClose() {
  DefWindowProc(WM_CLOSE, 0, 0);
}
void CWnd::OnDestroy() {
  DefWindowProc(WM_DESTROY, 0, 0);
}
void CWnd::OnPaint() {
  DefWindowProc(WM_PAINT, 0, 0);
}
