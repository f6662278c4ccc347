#include "platform/cwnd.h"

#include <cstring>

CWnd::~CWnd() {
  if (m_bOwnsWindow && IsWindow(m_hWnd)) ::DestroyWindow(m_hWnd);
}

BOOL CWnd::Attach(HWND window) {
  if (!IsWindow(window)) return FALSE;
  m_hWnd = window;
  m_bOwnsWindow = false;
  return TRUE;
}

HWND CWnd::Detach() {
  HWND window = m_hWnd;
  m_hWnd = nullptr;
  m_bOwnsWindow = false;
  return window;
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

int CWnd::GetDlgCtrlID() const { return IsWindow(m_hWnd) ? m_hWnd->Id() : 0; }

BOOL CWnd::IsWindowEnabled() const { return IsWindow(m_hWnd) && m_hWnd->IsEnabled(); }

BOOL CWnd::EnableWindow(BOOL enable) {
  if (!IsWindow(m_hWnd)) return FALSE;
  const BOOL was_disabled = m_hWnd->IsEnabled() ? FALSE : TRUE;
  m_hWnd->SetEnabled(enable != FALSE);
  return was_disabled;
}

BOOL CWnd::DestroyWindow() {
  const BOOL destroyed = ::DestroyWindow(m_hWnd);
  m_hWnd = nullptr;
  m_bOwnsWindow = false;
  return destroyed;
}
