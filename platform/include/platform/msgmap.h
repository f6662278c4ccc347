// Static message maps: one entry per message, notification code and control number, each
// calling a member of the window class. A class returns its table from GetMessageMap().
#pragma once

#include <functional>
#include <vector>

#include "platform/wintypes.h"

class CWnd;

namespace platform {

struct MessageMapEntry {
  UINT message;  // WM_COMMAND for control notifications
  WORD code;     // the notification code, for WM_COMMAND
  int id;        // the control number, for WM_COMMAND
  std::function<LRESULT(CWnd*, WPARAM, LPARAM)> call;
};

using MessageMap = std::vector<MessageMapEntry>;

// A control's notification (BN_CLICKED, EN_SETFOCUS, LBN_SELCHANGE, ...): void Handler().
template <class T>
MessageMapEntry OnNotify(WORD code, int id, void (T::*handler)()) {
  return {WM_COMMAND, code, id, [handler](CWnd* wnd, WPARAM, LPARAM) -> LRESULT {
            (static_cast<T*>(wnd)->*handler)();
            return 0;
          }};
}

// A message with no arguments used: void Handler() (WM_PAINT, WM_CLOSE, WM_DESTROY).
template <class T>
MessageMapEntry OnMessage(UINT message, void (T::*handler)()) {
  return {message, 0, 0, [handler](CWnd* wnd, WPARAM, LPARAM) -> LRESULT {
            (static_cast<T*>(wnd)->*handler)();
            return 0;
          }};
}

// WM_SYSCOMMAND: void Handler(UINT id, LPARAM lparam).
template <class T>
MessageMapEntry OnSysCommand(void (T::*handler)(UINT, LPARAM)) {
  return {WM_SYSCOMMAND, 0, 0, [handler](CWnd* wnd, WPARAM wparam, LPARAM lparam) -> LRESULT {
            (static_cast<T*>(wnd)->*handler)(static_cast<UINT>(wparam), lparam);
            return 0;
          }};
}

// WM_VKEYTOITEM, a key pressed in a list box with LBS_WANTKEYBOARDINPUT: int Handler(UINT key,
// HWND list), returning -2 (handled), -1 (the box's own action) or the row to move to.
template <class T>
MessageMapEntry OnVKeyToItem(int (T::*handler)(UINT, HWND)) {
  return {WM_VKEYTOITEM, 0, 0, [handler](CWnd* wnd, WPARAM wparam, LPARAM lparam) -> LRESULT {
            return (static_cast<T*>(wnd)->*handler)(LOWORD(wparam), reinterpret_cast<HWND>(lparam));
          }};
}

// WM_QUERYDRAGICON: HCURSOR Handler().
template <class T>
MessageMapEntry OnQueryDragIcon(HCURSOR (T::*handler)()) {
  return {WM_QUERYDRAGICON, 0, 0, [handler](CWnd* wnd, WPARAM, LPARAM) -> LRESULT {
            return reinterpret_cast<LRESULT>((static_cast<T*>(wnd)->*handler)());
          }};
}

}  // namespace platform
