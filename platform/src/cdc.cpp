#include "platform/cdc.h"

#include "platform/cwnd.h"

BOOL CDC::DrawIcon(int x, int y, HICON icon) {
  return ::DrawIcon(m_hDC, x, y, icon);
}

CPaintDC::CPaintDC(CWnd* window) : m_hWnd(window != nullptr ? window->m_hWnd : nullptr) {
  m_hDC = ::BeginPaint(m_hWnd, &m_ps);
}

CPaintDC::~CPaintDC() {
  ::EndPaint(m_hWnd, &m_ps);
}
