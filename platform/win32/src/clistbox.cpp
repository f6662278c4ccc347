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

int CListBox::AddString(const char* text) {
  return static_cast<int>(SendMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)));
}

int CListBox::InsertString(int index, const char* text) {
  return static_cast<int>(
      SendMessage(LB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text)));
}

int CListBox::DeleteString(UINT index) {
  return static_cast<int>(SendMessage(LB_DELETESTRING, index));
}

int CListBox::GetText(int index, char* buffer) const {
  return static_cast<int>(
      SendMessage(LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer)));
}

void CListBox::GetText(int index, CString& text) const {
  const int length = GetTextLen(index);
  if (length < 0) {
    text.Empty();
    return;
  }
  // One byte more than the length: the copy ends with a NUL.
  char* buffer = text.GetBuffer(length + 1);
  const int copied = GetText(index, buffer);
  text.ReleaseBuffer(copied >= 0 && copied <= length ? copied : 0);
}

int CListBox::GetTextLen(int index) const {
  return static_cast<int>(SendMessage(LB_GETTEXTLEN, static_cast<WPARAM>(index)));
}
