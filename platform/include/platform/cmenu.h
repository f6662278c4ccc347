// CMenu: the framework's wrapper of a menu (here only the system menu).
#pragma once

#include "platform/wintypes.h"

class CMenu {
 public:
  explicit CMenu(HMENU menu = nullptr) : m_hMenu(menu) {}
  BOOL AppendMenu(UINT flags, UINT_PTR id = 0, const char* text = nullptr);
  int GetMenuItemCount() const;

  HMENU m_hMenu;
};
