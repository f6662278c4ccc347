// CWnd: the framework's window object. The window's messages reach WindowProc, which looks
// them up in the class's message map; what no entry takes goes to the window's default
// processing (the core's own procedure, or the system's dialog manager on Windows).
#pragma once

#include "platform/cstring.h"
#include "platform/msgmap.h"
#include "platform/wintypes.h"

class CMenu;

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
  HWND GetDlgItemHandle(int id) const;
  BOOL IsWindowEnabled() const;
  BOOL EnableWindow(BOOL enable = TRUE);
  BOOL ShowWindow(int command);
  BOOL IsIconic() const;
  BOOL SetWindowPos(HWND insert_after, int x, int y, int cx, int cy, UINT flags);
  void GetWindowRect(RECT* rect) const;
  void GetClientRect(RECT* rect) const;
  CWnd* SetFocus();
  // The system menu of a window that has one (nullptr otherwise). The object stays valid as
  // long as this one.
  CMenu* GetSystemMenu(BOOL revert);
  virtual BOOL DestroyWindow();

  // The framework's "wndTopMost" for SetWindowPos.
  static const HWND wndTopMost;

  virtual LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam);
  // A message the window system delivered: runs WindowProc and tells whether the handler left
  // the message to the system's default processing.
  LRESULT HandleSystemMessage(UINT message, WPARAM wparam, LPARAM lparam, bool& to_default);

  HWND m_hWnd = nullptr;

 protected:
  virtual const platform::MessageMap* GetMessageMap() const { return nullptr; }
  // A WM_COMMAND that no map entry took; dialogs turn IDOK and IDCANCEL into OnOK/OnCancel.
  virtual BOOL OnCommand(WPARAM wparam, LPARAM lparam);
  // The default processing of the message being handled now.
  LRESULT Default();
  virtual LRESULT DefWindowProc(UINT message, WPARAM wparam, LPARAM lparam);
  void OnSysCommand(UINT id, LPARAM lparam);
  void OnClose();
  void OnDestroy();
  void OnPaint();

  // Hands the message being handled back to the system's default processing.
  void LeaveToDefault() { current_.to_default = true; }
  UINT CurrentMessageId() const { return current_.message; }

  // Windows made by this object's Create go with it; attached ones belong to their dialog.
  bool m_bOwnsWindow = false;

 private:
  struct CurrentMessage {
    UINT message;
    WPARAM wparam;
    LPARAM lparam;
    bool to_default;
  };
  CurrentMessage current_{0, 0, 0, false};
  CMenu* system_menu_ = nullptr;
};
