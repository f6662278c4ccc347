#include "platform/cdc.h"

#include "platform/cwnd.h"
#include "platform/dialogwindow.h"

BOOL CDC::DrawIcon(int x, int y, HICON icon) {
  HWND window = m_pWnd != nullptr ? m_pWnd->m_hWnd : nullptr;
  if (!IsWindow(window) || window->Kind() != platform::WindowKind::Dialog || icon == nullptr) {
    return FALSE;
  }
  static_cast<platform::DialogWindow*>(window)->Drawn().push_back({icon, POINT{x, y}});
  return TRUE;
}

CPaintDC::CPaintDC(CWnd* window) : CDC(window) {}
CPaintDC::~CPaintDC() = default;

int GetSystemMetrics(int index) {
  switch (index) {
    case SM_CXICON:
    case SM_CYICON:
      return 32;
    default:
      return 0;
  }
}
