// CWnd: the framework's window object, attached to a core window through its handle.
#pragma once

#include "platform/cstring.h"
#include "platform/window.h"

class CWnd {
 public:
  CWnd() = default;
  virtual ~CWnd();
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;

  HWND GetSafeHwnd() const { return m_hWnd; }
  BOOL Attach(HWND window);
  HWND Detach();

  LRESULT SendMessage(UINT message, WPARAM wparam = 0, LPARAM lparam = 0) const;
  void SetWindowText(const char* text);
  void GetWindowText(CString& text) const;
  int GetDlgCtrlID() const;
  BOOL IsWindowEnabled() const;
  BOOL EnableWindow(BOOL enable = TRUE);
  BOOL DestroyWindow();

  HWND m_hWnd = nullptr;

 protected:
  // Windows made by this object's Create go with it; attached ones belong to their dialog.
  bool m_bOwnsWindow = false;
};
