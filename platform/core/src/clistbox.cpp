#include "platform/clistbox.h"

BOOL CListBox::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  HWND parent_window = parent != nullptr ? parent->m_hWnd : nullptr;
  HWND window = platform::CreateWindowObject(platform::WindowKind::ListBox, static_cast<int>(id),
                                             std::string(), style, 0, rect, parent_window);
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
  char* buffer = text.GetBuffer(length);
  GetText(index, buffer);
  text.ReleaseBuffer(length);
}

int CListBox::GetTextLen(int index) const {
  return static_cast<int>(SendMessage(LB_GETTEXTLEN, static_cast<WPARAM>(index)));
}
