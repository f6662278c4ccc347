#include "platform/list_redraw.h"

#include <string>
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
  // The same procedure as it takes UTF-16 text, for comparing rows as the box keeps them.
  WNDPROC original_wide = nullptr;
  bool painting_off = false;
  // Painting again after a change, when the program's speed is measured.
  bool timing_paint = false;
  // A row deletion not yet passed on (see HoldsDeletion), and the row's text.
  LRESULT held_row = -1;
  std::wstring held_text;
};

std::unordered_map<HWND, DeferredList>& DeferredLists() {
  static std::unordered_map<HWND, DeferredList> lists;
  return lists;
}

bool ChangesRows(UINT message) {
  return message == LB_ADDSTRING || message == LB_INSERTSTRING || message == LB_DELETESTRING ||
         message == LB_RESETCONTENT;
}

// The cleaning pass after a search deletes every row of the list and inserts its cleaned text
// at the same index. The system's list box keeps its rows in one array, so each deletion and
// insertion moves every row after it: the pass costs the square of the rows, and a fourth
// search without クリア cleans 32,000 rows in seconds. Most rows (those of earlier searches)
// come back as they were, and for them the pair changes nothing that a caller could ask the
// box: the row keeps its text and index, and with neither the selection, the caret nor the top
// row on it nor at the end, those stay where they are. So while the box does not paint, a
// deletion waits for the next message; when that is the insertion of the same text at the
// same index, neither is passed on. Anything else gets the deletion done first.
bool HoldsDeletion(HWND list, WPARAM row, DeferredList& state) {
  constexpr DWORD kOwnRowRules =
      LBS_MULTIPLESEL | LBS_EXTENDEDSEL | LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE | LBS_SORT;
  if ((::GetWindowLongA(list, GWL_STYLE) & kOwnRowRules) != 0) return false;
  const auto ask = [&](UINT message, WPARAM wparam = 0, LPARAM lparam = 0) {
    return ::CallWindowProcW(state.original_wide, list, message, wparam, lparam);
  };
  const LRESULT count = ask(LB_GETCOUNT);
  const auto index = static_cast<LRESULT>(row);
  if (index < 0 || index >= count - 1) return false;
  const LRESULT caret = ask(LB_GETCARETINDEX);
  if (index == ask(LB_GETCURSEL) || index == caret || caret >= count - 1 ||
      index <= ask(LB_GETTOPINDEX) || ask(LB_GETITEMDATA, row) != 0) {
    return false;
  }
  const LRESULT length = ask(LB_GETTEXTLEN, row);
  if (length < 0) return false;
  state.held_text.assign(static_cast<std::size_t>(length) + 1, L'\0');
  if (ask(LB_GETTEXT, row, reinterpret_cast<LPARAM>(state.held_text.data())) != length) {
    return false;
  }
  state.held_text.resize(static_cast<std::size_t>(length));
  state.held_row = index;
  return true;
}

// Whether the text inserted is the held row's own, as the box would store it.
bool IsHeldText(const DeferredList& state, LPARAM text) {
  if (text == 0) return false;
  const char* bytes = reinterpret_cast<const char*>(text);
  const int size = lstrlenA(bytes);
  if (size == 0) return state.held_text.empty();
  const int length = ::MultiByteToWideChar(CP_ACP, 0, bytes, size, nullptr, 0);
  if (length != static_cast<int>(state.held_text.size())) return false;
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, bytes, size, wide.data(), length);
  return wide == state.held_text;
}

LRESULT CALLBACK DeferringProcedure(HWND list, UINT message, WPARAM wparam, LPARAM lparam) {
  auto& lists = DeferredLists();
  const auto found = lists.find(list);
  if (found == lists.end()) return ::DefWindowProcA(list, message, wparam, lparam);
  DeferredList& state = found->second;
  const WNDPROC original = state.original;
  if (state.held_row >= 0) {
    const LRESULT row = state.held_row;
    state.held_row = -1;
    if (message == LB_INSERTSTRING && static_cast<LRESULT>(wparam) == row &&
        IsHeldText(state, lparam)) {
      return row;
    }
    ::CallWindowProcA(original, list, LB_DELETESTRING, static_cast<WPARAM>(row), 0);
  }
  if (message == LB_DELETESTRING && state.painting_off && HoldsDeletion(list, wparam, state)) {
    return ::CallWindowProcA(original, list, LB_GETCOUNT, 0, 0) - 1;
  }
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
  DeferredList& state = DeferredLists()[list];
  state.original = reinterpret_cast<WNDPROC>(original);
  state.original_wide = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(list, GWLP_WNDPROC));
  ::SetWindowLongPtrA(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&DeferringProcedure));
}

}  // namespace platform
