#include "platform/list_redraw.h"

namespace platform {
namespace {

constexpr char kOriginalProcedure[] = "Morvane.ListProcedure";
constexpr char kRedrawOff[] = "Morvane.ListRedrawOff";

bool ChangesRows(UINT message) {
  return message == LB_ADDSTRING || message == LB_INSERTSTRING || message == LB_DELETESTRING ||
         message == LB_RESETCONTENT;
}

LRESULT CALLBACK DeferringProcedure(HWND list, UINT message, WPARAM wparam, LPARAM lparam) {
  const auto original = reinterpret_cast<WNDPROC>(::GetPropA(list, kOriginalProcedure));
  if (original == nullptr) return ::DefWindowProcA(list, message, wparam, lparam);
  if (message == ListRedrawMessage()) {
    if (::RemovePropA(list, kRedrawOff) != nullptr) {
      ::CallWindowProcA(original, list, WM_SETREDRAW, TRUE, 0);
      ::RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
    }
    return 0;
  }
  if (ChangesRows(message) && ::GetPropA(list, kRedrawOff) == nullptr && ::IsWindowVisible(list) &&
      ::PostMessageA(list, ListRedrawMessage(), 0, 0)) {
    ::CallWindowProcA(original, list, WM_SETREDRAW, FALSE, 0);
    ::SetPropA(list, kRedrawOff, reinterpret_cast<HANDLE>(1));
  }
  if (message == WM_NCDESTROY) {
    ::SetWindowLongPtrA(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
    ::RemovePropA(list, kOriginalProcedure);
    ::RemovePropA(list, kRedrawOff);
  }
  return ::CallWindowProcA(original, list, message, wparam, lparam);
}

}  // namespace

UINT ListRedrawMessage() {
  static const UINT message = ::RegisterWindowMessageA("Morvane.ListRedraw");
  return message;
}

void DeferListRedraw(HWND list) {
  if (!::IsWindow(list) || ::GetPropA(list, kOriginalProcedure) != nullptr) return;
  const LONG_PTR original = ::GetWindowLongPtrA(list, GWLP_WNDPROC);
  ::SetPropA(list, kOriginalProcedure, reinterpret_cast<HANDLE>(original));
  ::SetWindowLongPtrA(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&DeferringProcedure));
}

}  // namespace platform
