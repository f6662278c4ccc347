#include "platform/cmenu.h"

BOOL CMenu::AppendMenu(UINT flags, UINT id, const char* text) {
  if (m_pMenu == nullptr) return FALSE;
  const bool separator = (flags & MF_SEPARATOR) != 0;
  m_pMenu->items.push_back({flags, separator ? 0 : id, separator || text == nullptr ? "" : text});
  return TRUE;
}

int CMenu::GetMenuItemCount() const {
  return m_pMenu != nullptr ? static_cast<int>(m_pMenu->items.size()) : -1;
}
