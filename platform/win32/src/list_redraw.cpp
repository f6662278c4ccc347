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
  // A row deletion not yet passed on (see HoldsDeletion).
  LRESULT held_row = -1;
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
// A question to the box itself, in UTF-16.
LRESULT Ask(const DeferredList& state, HWND list, UINT message, WPARAM wparam = 0,
            LPARAM lparam = 0) {
  return ::CallWindowProcW(state.original_wide, list, message, wparam, lparam);
}

// Whether a deletion of row may wait: a plain box (one selection, rows in the order given,
// drawn by the box), and a row that is not its last.
bool HoldsDeletion(HWND list, WPARAM row, LRESULT& count, DeferredList& state) {
  constexpr DWORD kOwnRowRules =
      LBS_MULTIPLESEL | LBS_EXTENDEDSEL | LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE | LBS_SORT;
  if ((::GetWindowLongA(list, GWL_STYLE) & kOwnRowRules) != 0) return false;
  count = Ask(state, list, LB_GETCOUNT);
  const auto index = static_cast<LRESULT>(row);
  if (index < 0 || index >= count - 1) return false;
  state.held_row = index;
  return true;
}

// Whether inserting text at the held row, which the box still has, would leave the box as it
// is: the same text as the box would store it, and neither the selection, the caret, the top
// row nor an item's data that the pair would move or drop.
bool LeavesBoxAsItIs(const DeferredList& state, HWND list, LPARAM text) {
  if (text == 0) return false;
  const LRESULT row = state.held_row;
  const auto index = static_cast<WPARAM>(row);
  const char* bytes = reinterpret_cast<const char*>(text);
  const int size = lstrlenA(bytes);
  const int length = size == 0 ? 0 : ::MultiByteToWideChar(CP_ACP, 0, bytes, size, nullptr, 0);
  // The rows the search appended come back changed: their length tells them, at the cost of
  // one question to the box.
  if (Ask(state, list, LB_GETTEXTLEN, index) != length) return false;
  const LRESULT count = Ask(state, list, LB_GETCOUNT);
  const LRESULT caret = Ask(state, list, LB_GETCARETINDEX);
  if (row == caret || caret >= count - 1 || row == Ask(state, list, LB_GETCURSEL) ||
      row <= Ask(state, list, LB_GETTOPINDEX) || Ask(state, list, LB_GETITEMDATA, index) != 0) {
    return false;
  }
  std::wstring shown(static_cast<std::size_t>(length) + 1, L'\0');
  if (Ask(state, list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(shown.data())) != length) {
    return false;
  }
  std::wstring inserted(static_cast<std::size_t>(length) + 1, L'\0');
  if (size > 0) ::MultiByteToWideChar(CP_ACP, 0, bytes, size, inserted.data(), length);
  return inserted == shown;
}

LRESULT CALLBACK DeferringProcedure(HWND list, UINT message, WPARAM wparam, LPARAM lparam) {
  auto& lists = DeferredLists();
  const auto found = lists.find(list);
  if (found == lists.end()) return ::DefWindowProcA(list, message, wparam, lparam);
  DeferredList& state = found->second;
  const WNDPROC original = state.original;
  if (state.held_row >= 0) {
    const LRESULT row = state.held_row;
    if (message == LB_INSERTSTRING && static_cast<LRESULT>(wparam) == row &&
        LeavesBoxAsItIs(state, list, lparam)) {
      state.held_row = -1;
      return row;
    }
    state.held_row = -1;
    ::CallWindowProcA(original, list, LB_DELETESTRING, static_cast<WPARAM>(row), 0);
  }
  LRESULT count = 0;
  if (message == LB_DELETESTRING && state.painting_off &&
      HoldsDeletion(list, wparam, count, state)) {
    return count - 1;
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
