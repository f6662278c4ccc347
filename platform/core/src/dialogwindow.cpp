#include "platform/dialogwindow.h"

#include "platform/backend.h"
#include "platform/resource_registry.h"

namespace platform {
namespace {
constexpr UINT SC_MINIMIZE = 0xF020;
constexpr UINT SC_RESTORE = 0xF120;

// The classic system menu of a dialog: Move and Close (Japanese captions).
Menu DefaultSystemMenu() {
  Menu menu;
  menu.items.push_back({0, SC_MOVE, "\x88\xDA\x93\xAE(&M)"});           // 移動(&M)
  menu.items.push_back({0, SC_CLOSE, "\x95\xC2\x82\xB6\x82\xE9(&C)"});  // 閉じる(&C)
  return menu;
}
}  // namespace

DialogWindow::DialogWindow(int template_id, std::string caption, DWORD style, DWORD ex_style,
                           RECT rect, std::string font_name, int point_size)
    : Window(WindowKind::Dialog, 0, std::move(caption), style & ~WS_VISIBLE, ex_style, rect,
             nullptr),
      template_id_(template_id),
      font_name_(std::move(font_name)),
      point_size_(point_size),
      has_system_menu_((style & WS_SYSMENU) != 0),
      system_menu_(has_system_menu_ ? DefaultSystemMenu() : Menu{}) {
  topmost_ = (ex_style & WS_EX_TOPMOST) != 0;
}

DialogWindow::~DialogWindow() = default;

void DialogWindow::SetScreenGeometry(const RECT& screen_rect, POINT client_size) {
  screen_rect_ = screen_rect;
  client_size_ = client_size;
  ChangedState();
}

void DialogWindow::SetTopmost(bool topmost) {
  if (topmost_ == topmost) return;
  topmost_ = topmost;
  ChangedState();
}

void DialogWindow::SetMinimized(bool minimized) {
  if (minimized_ == minimized) return;
  minimized_ = minimized;
  ChangedState();
}

LRESULT DialogWindow::DefaultProcedure(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CLOSE:
      // A dialog's close is its cancel command.
      Dispatch(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
      return 0;
    case WM_SYSCOMMAND:
      switch (static_cast<UINT>(wparam) & 0xFFF0) {
        case SC_CLOSE:
          Dispatch(WM_CLOSE, 0, 0);
          return 0;
        case SC_MOVE:
          if (Backend* backend = CurrentBackend()) backend->BeginMove(this);
          return 0;
        case SC_MINIMIZE:
          SetMinimized(true);
          return 0;
        case SC_RESTORE:
          SetMinimized(false);
          return 0;
        default:
          return 0;
      }
    case WM_SETICON: {
      HICON& slot = wparam == ICON_BIG ? big_icon_ : small_icon_;
      HICON previous = slot;
      slot = reinterpret_cast<HICON>(lparam);
      ChangedState();
      return reinterpret_cast<LRESULT>(previous);
    }
    case WM_ICONERASEBKGND:
      return TRUE;
    case WM_PAINT:
    case WM_QUERYDRAGICON:
      return 0;
    default:
      return Window::DefaultProcedure(message, wparam, lparam);
  }
}

void PlaceDialog(DialogWindow* dialog, POINT base_units, POINT screen_size, RECT frame) {
  const RECT& units = dialog->Rect();
  const POINT client{DluToPixelsX(units.right - units.left, base_units),
                     DluToPixelsY(units.bottom - units.top, base_units)};
  const LONG width = client.x + frame.left + frame.right;
  const LONG height = client.y + frame.top + frame.bottom;
  LONG x = (screen_size.x - width) / 2;
  LONG y = (screen_size.y - height) / 2;
  Window* owner = dialog->Owner();
  if ((dialog->Style() & DS_CENTER) == 0 && owner != nullptr &&
      owner->Kind() == WindowKind::Dialog) {
    const RECT& around = static_cast<DialogWindow*>(owner)->ScreenRect();
    x = around.left + ((around.right - around.left) - width) / 2;
    y = around.top + ((around.bottom - around.top) - height) / 2;
  }
  dialog->SetScreenGeometry(RECT{x, y, x + width, y + height}, client);
}

}  // namespace platform
