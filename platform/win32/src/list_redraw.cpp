#include "platform/list_redraw.h"

#include <unordered_map>

#include "search_timing.h"

namespace platform {
namespace {

// What the subclass keeps of each list box. The state is the process's own rather than window
// properties: the subclass sees every message the box gets, thousands a search, and Wine
// answers each property lookup with a round trip to its server. The boxes belong to the one
// user-interface thread, so the table needs no lock.
struct DeferredList {
  WNDPROC original = nullptr;
  bool painting_off = false;
  // Painting again after a change, when the program's speed is measured.
  bool timing_paint = false;
};

std::unordered_map<HWND, DeferredList>& DeferredLists() {
  static std::unordered_map<HWND, DeferredList> lists;
  return lists;
}

bool ChangesRows(UINT message) {
  return message == LB_ADDSTRING || message == LB_INSERTSTRING || message == LB_DELETESTRING ||
         message == LB_RESETCONTENT;
}

LRESULT CALLBACK DeferringProcedure(HWND list, UINT message, WPARAM wparam, LPARAM lparam) {
  auto& lists = DeferredLists();
  const auto found = lists.find(list);
  if (found == lists.end()) return ::DefWindowProcA(list, message, wparam, lparam);
  DeferredList& state = found->second;
  const WNDPROC original = state.original;
  if (message == ListRedrawMessage()) {
    if (state.painting_off) {
      state.painting_off = false;
      ::CallWindowProcA(original, list, WM_SETREDRAW, TRUE, 0);
      ::RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
      state.timing_paint = search_timing::Enabled();
    }
    return 0;
  }
  if (message == WM_PAINT && state.timing_paint) {
    state.timing_paint = false;
    const LRESULT result = ::CallWindowProcA(original, list, message, wparam, lparam);
    search_timing::ListPainted(list);
    return result;
  }
  if (ChangesRows(message) && !state.painting_off && ::IsWindowVisible(list) &&
      ::PostMessageA(list, ListRedrawMessage(), 0, 0)) {
    ::CallWindowProcA(original, list, WM_SETREDRAW, FALSE, 0);
    state.painting_off = true;
  }
  if (message == WM_NCDESTROY) {
    ::SetWindowLongPtrA(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
    lists.erase(found);
  }
  return ::CallWindowProcA(original, list, message, wparam, lparam);
}

}  // namespace

UINT ListRedrawMessage() {
  static const UINT message = ::RegisterWindowMessageA("Morvane.ListRedraw");
  return message;
}

void DeferListRedraw(HWND list) {
  if (!::IsWindow(list) || DeferredLists().contains(list)) return;
  const LONG_PTR original = ::GetWindowLongPtrA(list, GWLP_WNDPROC);
  DeferredLists()[list].original = reinterpret_cast<WNDPROC>(original);
  ::SetWindowLongPtrA(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&DeferringProcedure));
}

}  // namespace platform
