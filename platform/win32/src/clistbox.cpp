#include "platform/clistbox.h"

BOOL CListBox::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  HWND parent_window = parent != nullptr ? parent->m_hWnd : nullptr;
  // Without a parent (the command line) the box is a hidden top-level window: the system's
  // own list box, holding the rows as a dialog's would.
  if (parent_window != nullptr) style |= WS_CHILD;
  HWND window = ::CreateWindowExA(
      0, "LISTBOX", "", style, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
      parent_window,
      parent_window != nullptr ? reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)) : nullptr,
      ::GetModuleHandleA(nullptr), nullptr);
  if (window == nullptr) return FALSE;
  m_hWnd = window;
  m_bOwnsWindow = true;
  return TRUE;
}
