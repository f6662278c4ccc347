#include "platform/cmenu.h"

BOOL CMenu::AppendMenu(UINT flags, UINT_PTR id, const char* text) {
  if (m_hMenu == nullptr) return FALSE;
  return ::AppendMenuA(m_hMenu, flags, id, text);
}

int CMenu::GetMenuItemCount() const {
  return m_hMenu != nullptr ? ::GetMenuItemCount(m_hMenu) : -1;
}
