#include "platform/cwnd.h"

#include <string>

#include "framework_port.h"
#include "platform/cmenu.h"

const HWND CWnd::wndTopMost = HWND_TOPMOST;

CWnd::~CWnd() {
  if (::IsWindow(m_hWnd)) {
    platform::port::Unlink(m_hWnd, this);
    if (m_bOwnsWindow) ::DestroyWindow(m_hWnd);
  }
  delete system_menu_;
}

BOOL CWnd::Attach(HWND window) {
  if (!::IsWindow(window)) return FALSE;
  m_hWnd = window;
  m_bOwnsWindow = false;
  return TRUE;
}

HWND CWnd::Detach() {
  HWND window = m_hWnd;
  if (::IsWindow(window)) platform::port::Unlink(window, this);
  m_hWnd = nullptr;
  m_bOwnsWindow = false;
  return window;
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wparam, LPARAM lparam) const {
  return ::SendMessageA(m_hWnd, message, wparam, lparam);
}

void CWnd::SetWindowText(const char* text) {
  ::SetWindowTextA(m_hWnd, text != nullptr ? text : "");
}

void CWnd::GetWindowText(CString& text) const {
  const int length = ::IsWindow(m_hWnd) ? ::GetWindowTextLengthA(m_hWnd) : 0;
  if (length <= 0) {
    text.Empty();
    return;
  }
  // The length may count more than the copy gives (double-byte text); the copy decides.
  std::string buffer(static_cast<std::size_t>(length) + 1, '\0');
  const int copied = ::GetWindowTextA(m_hWnd, buffer.data(), length + 1);
  buffer.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
  text = CString(std::move(buffer));
}

int CWnd::GetDlgCtrlID() const {
  return ::GetDlgCtrlID(m_hWnd);
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
  return ::ShowWindow(m_hWnd, command);
}

BOOL CWnd::IsIconic() const {
  return ::IsIconic(m_hWnd);
}

BOOL CWnd::SetWindowPos(HWND insert_after, int x, int y, int cx, int cy, UINT flags) {
  return ::SetWindowPos(m_hWnd, insert_after, x, y, cx, cy, flags);
}

void CWnd::GetWindowRect(RECT* rect) const {
  if (rect != nullptr && !::GetWindowRect(m_hWnd, rect)) *rect = RECT{0, 0, 0, 0};
}

void CWnd::GetClientRect(RECT* rect) const {
  if (rect != nullptr && !::GetClientRect(m_hWnd, rect)) *rect = RECT{0, 0, 0, 0};
}

CWnd* CWnd::SetFocus() {
  ::SetFocus(m_hWnd);
  return nullptr;
}

CMenu* CWnd::GetSystemMenu(BOOL revert) {
  HMENU menu = ::GetSystemMenu(m_hWnd, revert);
  if (menu == nullptr) return nullptr;
  if (system_menu_ == nullptr) system_menu_ = new CMenu();
  system_menu_->m_hMenu = menu;
  return system_menu_;
}

BOOL CWnd::DestroyWindow() {
  const BOOL destroyed = ::IsWindow(m_hWnd) ? ::DestroyWindow(m_hWnd) : FALSE;
  m_hWnd = nullptr;
  m_bOwnsWindow = false;
  return destroyed;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
  if (const platform::MessageMap* map = GetMessageMap()) {
    for (const platform::MessageMapEntry& entry : *map) {
      if (entry.message != message) continue;
      if (message == WM_COMMAND &&
          (entry.code != HIWORD(wparam) || static_cast<WORD>(entry.id) != LOWORD(wparam))) {
        continue;
      }
      return entry.call(this, wparam, lparam);
    }
  }
  if (message == WM_COMMAND && OnCommand(wparam, lparam)) return 0;
  return DefWindowProc(message, wparam, lparam);
}

LRESULT CWnd::HandleSystemMessage(UINT message, WPARAM wparam, LPARAM lparam, bool& to_default) {
  const CurrentMessage outer = current_;
  current_ = CurrentMessage{message, wparam, lparam, false};
  const LRESULT result = WindowProc(message, wparam, lparam);
  to_default = current_.to_default;
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
  return ::DefWindowProcA(m_hWnd, message, wparam, lparam);
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
