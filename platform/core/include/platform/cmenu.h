// CMenu: the framework's wrapper of a menu (here only the system menu).
#pragma once

#include "platform/dialogwindow.h"

inline constexpr UINT MF_STRING = 0x0000;
inline constexpr UINT MF_SEPARATOR = 0x0800;

class CMenu {
 public:
  explicit CMenu(platform::Menu* menu = nullptr) : m_pMenu(menu) {}
  BOOL AppendMenu(UINT flags, UINT id = 0, const char* text = nullptr);
  int GetMenuItemCount() const;

  platform::Menu* m_pMenu;
};
