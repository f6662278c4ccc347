// CListBox's messages, the same over every window system: each port's clistbox.cpp makes the
// window.
#include "platform/clistbox.h"

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
