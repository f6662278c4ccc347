#include "platform/clistbox.h"

#include "platform/window.h"

BOOL CListBox::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  HWND parent_window = parent != nullptr ? parent->m_hWnd : nullptr;
  HWND window = platform::CreateWindowObject(platform::WindowKind::ListBox, static_cast<int>(id),
                                             std::string(), style, 0, rect, parent_window);
  if (window == nullptr) return FALSE;
  m_hWnd = window;
  m_bOwnsWindow = true;
  return TRUE;
}
