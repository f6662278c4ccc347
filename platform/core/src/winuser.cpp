// The classic window functions that read and change the core's windows directly; the message
// and focus ones are in window.cpp.
#include <algorithm>
#include <cstring>
#include <string>

#include "platform/dialogwindow.h"
#include "platform/winuser.h"

namespace {

platform::DialogWindow* AsDialog(HWND window) {
  if (!IsWindow(window) || window->Kind() != platform::WindowKind::Dialog) return nullptr;
  return static_cast<platform::DialogWindow*>(window);
}

const char* ClassName(platform::WindowKind kind) {
  switch (kind) {
    case platform::WindowKind::Dialog:
      return "#32770";
    case platform::WindowKind::PushButton:
      return "Button";
    case platform::WindowKind::Edit:
      return "Edit";
    case platform::WindowKind::ListBox:
      return "ListBox";
    case platform::WindowKind::StaticText:
    case platform::WindowKind::StaticIcon:
      break;
  }
  return "Static";
}

}  // namespace

LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  return IsWindow(window) ? window->DefaultProcedure(message, wparam, lparam) : 0;
}

int GetDlgCtrlID(HWND window) {
  return IsWindow(window) ? window->Id() : 0;
}

int GetClassNameA(HWND window, LPSTR name, int size) {
  if (!IsWindow(window) || name == nullptr || size <= 0) return 0;
  const char* class_name = ClassName(window->Kind());
  const int length = std::min(static_cast<int>(std::strlen(class_name)), size - 1);
  std::memcpy(name, class_name, static_cast<std::size_t>(length));
  name[length] = '\0';
  return length;
}

int lstrcmpiA(LPCSTR a, LPCSTR b) {
  const auto lower = [](char c) {
    return static_cast<unsigned char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  };
  for (;; ++a, ++b) {
    const int diff = lower(*a) - lower(*b);
    if (diff != 0 || *a == '\0') return diff;
  }
}

BOOL SetWindowTextA(HWND window, LPCSTR text) {
  return static_cast<BOOL>(
      SendMessageA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text != nullptr ? text : "")));
}

int GetWindowTextLengthA(HWND window) {
  return IsWindow(window) ? static_cast<int>(std::strlen(window->Text().c_str())) : 0;
}

int GetWindowTextA(HWND window, LPSTR text, int size) {
  if (!IsWindow(window) || text == nullptr || size <= 0) return 0;
  const int length = std::min(GetWindowTextLengthA(window), size - 1);
  std::memcpy(text, window->Text().data(), static_cast<std::size_t>(length));
  text[length] = '\0';
  return length;
}

BOOL ShowWindow(HWND window, int command) {
  if (!IsWindow(window)) return FALSE;
  const BOOL was_visible = window->IsVisible() ? TRUE : FALSE;
  platform::DialogWindow* dialog = AsDialog(window);
  switch (command) {
    case SW_HIDE:
      window->SetVisible(false);
      break;
    case SW_MINIMIZE:
      window->SetVisible(true);
      if (dialog != nullptr) dialog->SetMinimized(true);
      break;
    case SW_RESTORE:
      window->SetVisible(true);
      if (dialog != nullptr) dialog->SetMinimized(false);
      break;
    default:
      window->SetVisible(true);
      break;
  }
  return was_visible;
}

BOOL IsIconic(HWND window) {
  platform::DialogWindow* dialog = AsDialog(window);
  return dialog != nullptr && dialog->IsMinimized() ? TRUE : FALSE;
}

BOOL SetWindowPos(HWND window, HWND insert_after, int x, int y, int cx, int cy, UINT flags) {
  platform::DialogWindow* dialog = AsDialog(window);
  if (dialog == nullptr) return FALSE;
  if (insert_after == HWND_TOPMOST) dialog->SetTopmost(true);
  RECT rect = dialog->ScreenRect();
  POINT client = dialog->ClientSize();
  if ((flags & SWP_NOSIZE) == 0) {
    // The frame keeps its thickness; the client area takes the change.
    client.x += cx - (rect.right - rect.left);
    client.y += cy - (rect.bottom - rect.top);
    rect.right = rect.left + cx;
    rect.bottom = rect.top + cy;
  }
  if ((flags & SWP_NOMOVE) == 0) {
    const LONG width = rect.right - rect.left;
    const LONG height = rect.bottom - rect.top;
    rect = RECT{x, y, x + width, y + height};
  }
  dialog->SetScreenGeometry(rect, client);
  if ((flags & SWP_SHOWWINDOW) != 0) dialog->SetVisible(true);
  return TRUE;
}

BOOL GetWindowRect(HWND window, RECT* rect) {
  if (rect == nullptr || !IsWindow(window)) return FALSE;
  if (platform::DialogWindow* dialog = AsDialog(window)) {
    *rect = dialog->ScreenRect();
  } else {
    *rect = window->Rect();
  }
  return TRUE;
}

BOOL GetClientRect(HWND window, RECT* rect) {
  if (rect == nullptr || !IsWindow(window)) return FALSE;
  if (platform::DialogWindow* dialog = AsDialog(window)) {
    *rect = RECT{0, 0, dialog->ClientSize().x, dialog->ClientSize().y};
  } else {
    const RECT& r = window->Rect();
    *rect = RECT{0, 0, r.right - r.left, r.bottom - r.top};
  }
  return TRUE;
}

HMENU GetSystemMenu(HWND window, BOOL /*revert*/) {
  platform::DialogWindow* dialog = AsDialog(window);
  return dialog != nullptr ? dialog->SystemMenu() : nullptr;
}

BOOL AppendMenuA(HMENU menu, UINT flags, UINT_PTR id, LPCSTR text) {
  if (menu == nullptr) return FALSE;
  const bool separator = (flags & MF_SEPARATOR) != 0;
  menu->items.push_back(
      {flags, separator ? 0 : static_cast<UINT>(id), separator || text == nullptr ? "" : text});
  return TRUE;
}

int GetMenuItemCount(HMENU menu) {
  return menu != nullptr ? static_cast<int>(menu->items.size()) : -1;
}

// A device context of the core is the dialog being painted.
HDC BeginPaint(HWND window, PAINTSTRUCT* paint) {
  HDC dc = AsDialog(window) != nullptr ? static_cast<HDC>(window) : nullptr;
  if (paint != nullptr) *paint = PAINTSTRUCT{dc, FALSE, RECT{0, 0, 0, 0}};
  return dc;
}

BOOL EndPaint(HWND /*window*/, const PAINTSTRUCT* /*paint*/) {
  return TRUE;
}

BOOL DrawIcon(HDC dc, int x, int y, HICON icon) {
  platform::DialogWindow* dialog = AsDialog(static_cast<HWND>(dc));
  if (dialog == nullptr || icon == nullptr) return FALSE;
  dialog->Drawn().push_back({icon, POINT{x, y}});
  return TRUE;
}

int GetSystemMetrics(int index) {
  switch (index) {
    case SM_CXICON:
    case SM_CYICON:
      return 32;
    default:
      return 0;
  }
}
