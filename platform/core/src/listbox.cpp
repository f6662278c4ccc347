#include "platform/listbox.h"

#include <algorithm>
#include <cstring>
#include <optional>

namespace platform {

// The cleaning pass of a search deletes each row and inserts its new text at the same index.
// Done literally on a vector that is quadratic in the list's length, so a deletion only
// marks its slot (the "hole"); an insert at the same index fills it in place, and anything
// else completes the deletion first. Callers see exactly the classic behaviour.

ListBoxWindow::ListBoxWindow(int id, DWORD style, DWORD ex_style, RECT rect, Window* parent)
    : Window(WindowKind::ListBox, id, std::string(), style, ex_style, rect, parent) {}

int ListBoxWindow::Count() const {
  return rows_.Count() - (hole_ >= 0 ? 1 : 0);
}

std::string_view ListBoxWindow::Row(int index) const {
  FillHole();
  return rows_.At(index);
}

void ListBoxWindow::FillHole() const {
  if (hole_ < 0) return;
  rows_.Erase(hole_);
  hole_ = -1;  // the view was told when the row went
}

LRESULT ListBoxWindow::DefaultProcedure(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case LB_ADDSTRING:
      return AddString(reinterpret_cast<const char*>(lparam));
    case LB_INSERTSTRING:
      return InsertString(wparam, reinterpret_cast<const char*>(lparam));
    case LB_DELETESTRING:
      return DeleteString(wparam);
    case LB_GETTEXT:
      return GetText(wparam, reinterpret_cast<char*>(lparam));
    case LB_GETTEXTLEN:
      return GetTextLength(wparam);
    case LB_GETCOUNT:
      return Count();
    case LB_GETCURSEL:
      return selection_ >= 0 ? selection_ : LB_ERR;
    case LB_SETCURSEL:
      return SetSelection(wparam);
    case LB_RESETCONTENT:
      ResetContent();
      return LB_OKAY;
    default:
      return Window::DefaultProcedure(message, wparam, lparam);
  }
}

LRESULT ListBoxWindow::AddString(const char* text) {
  FillHole();
  const int index = rows_.Count();
  if (!rows_.Insert(index, text != nullptr ? text : "")) return LB_ERRSPACE;
  if (View() != nullptr) View()->RowsInserted(index, 1);
  return index;
}

LRESULT ListBoxWindow::InsertString(WPARAM wparam, const char* text) {
  // The index arrives as WPARAM; -1 means "at the end".
  const auto index = static_cast<LRESULT>(static_cast<std::intptr_t>(wparam));
  const int count = Count();
  if (index < -1 || index > count) return LB_ERR;
  const int at = index == -1 ? count : static_cast<int>(index);
  const bool shifts = at <= selection_ && selection_ >= 0;
  if (shifts) SetSelectionTo(selection_ + 1);
  const auto no_room = [&] {
    if (shifts) SetSelectionTo(selection_ - 1);
    return LB_ERRSPACE;
  };
  if (hole_ >= 0 && at == hole_) {
    if (!rows_.Replace(at, text != nullptr ? text : "")) return no_room();
    hole_ = -1;
    if (View() != nullptr) View()->RowsInserted(at, 1);
    return at;
  }
  FillHole();
  if (!rows_.Insert(at, text != nullptr ? text : "")) return no_room();
  if (View() != nullptr) View()->RowsInserted(at, 1);
  return at;
}

LRESULT ListBoxWindow::DeleteString(WPARAM wparam) {
  const auto index = static_cast<std::intptr_t>(wparam);
  if (index < 0 || index >= Count()) return LB_ERR;
  FillHole();
  const int at = static_cast<int>(index);
  if (at == selection_) {
    SetSelectionTo(-1);
  } else if (at < selection_) {
    SetSelectionTo(selection_ - 1);
  }
  hole_ = at;
  if (View() != nullptr) View()->RowsRemoved(at, 1);
  return Count();
}

LRESULT ListBoxWindow::GetText(WPARAM wparam, char* buffer) const {
  const auto index = static_cast<std::intptr_t>(wparam);
  if (index < 0 || index >= Count() || buffer == nullptr) return LB_ERR;
  const std::string_view row = Row(static_cast<int>(index));
  std::memcpy(buffer, row.data(), row.size());
  buffer[row.size()] = '\0';
  return static_cast<LRESULT>(row.size());
}

LRESULT ListBoxWindow::GetTextLength(WPARAM wparam) const {
  const auto index = static_cast<std::intptr_t>(wparam);
  if (index < 0 || index >= Count()) return LB_ERR;
  return static_cast<LRESULT>(Row(static_cast<int>(index)).size());
}

LRESULT ListBoxWindow::SetSelection(WPARAM wparam) {
  const auto index = static_cast<std::intptr_t>(wparam);
  if (index < 0 || index >= Count()) {
    SetSelectionTo(-1);
    return LB_ERR;
  }
  SetSelectionTo(static_cast<int>(index));
  return index;
}

void ListBoxWindow::ResetContent() {
  rows_.Clear();
  hole_ = -1;
  selection_ = -1;
  caret_ = 0;
  top_ = 0;
  pressed_ = false;
  if (View() != nullptr) View()->RowsReset();
}

void ListBoxWindow::SetSelectionTo(int index) {
  // The caret follows the selection; with none, it stays where it was.
  const bool caret_moves = index >= 0 && caret_ != index;
  if (index >= 0) {
    caret_ = index;
    ScrollIntoView(index);
  }
  if (selection_ == index && !caret_moves) return;
  selection_ = index;
  if (View() != nullptr) View()->SelectionChanged();
}

void ListBoxWindow::ScrollIntoView(int index) {
  const int rows = std::max(1, FullyVisibleRows());
  if (index < top_) {
    top_ = index;
  } else if (index >= top_ + rows) {
    top_ = index - rows + 1;
  }
}

void ListBoxWindow::Notify(WORD code) {
  if ((Style() & LBS_NOTIFY) != 0) NotifyParent(code);
}

int ListBoxWindow::Caret() const {
  return std::clamp(caret_, 0, std::max(0, Count() - 1));
}

int ListBoxWindow::FullyVisibleRows() const {
  if (View() != nullptr) {
    if (const int measured = View()->FullyVisibleRows(); measured > 0) return measured;
  }
  // The client area is the rectangle less a border of about a dialog unit on each side.
  return std::max(1, (Rect().bottom - Rect().top - 2) / 8);
}

void ListBoxWindow::UserKey(UINT vk) {
  LRESULT answer = -1;
  if ((Style() & LBS_WANTKEYBOARDINPUT) != 0 && Parent() != nullptr) {
    const WPARAM key_and_caret = MAKEWPARAM(static_cast<WORD>(vk), static_cast<WORD>(Caret()));
    answer = Parent()->Dispatch(WM_VKEYTOITEM, key_and_caret, reinterpret_cast<LPARAM>(this));
    if (answer == -2) return;
  }
  const int count = Count();
  if (count == 0) return;
  const std::optional<int> target = answer >= 0 ? static_cast<int>(answer) : KeyTarget(vk);
  if (!target) return;
  const int row = std::clamp(*target, 0, count - 1);
  if (row == selection_) return;
  SetSelectionTo(row);
  Notify(LBN_SELCHANGE);
}

std::optional<int> ListBoxWindow::KeyTarget(UINT vk) const {
  const int caret = Caret();
  // Up and Down first select the caret row itself when it is not selected.
  const bool caret_selected = selection_ == caret;
  switch (vk) {
    case VK_UP:
    case VK_LEFT:  // no horizontal scroll bar: Left and Right are Up and Down
      return caret_selected ? caret - 1 : caret;
    case VK_DOWN:
    case VK_RIGHT:
      return caret_selected ? caret + 1 : caret;
    case VK_HOME:
      return 0;
    case VK_END:
      return Count() - 1;
    case VK_PRIOR:
      return caret - (FullyVisibleRows() - 1);
    case VK_NEXT:
      return caret + (FullyVisibleRows() - 1);
    case VK_SPACE:
      return caret;
    default:
      return std::nullopt;
  }
}

void ListBoxWindow::UserPress(int index) {
  if (index < 0 || index >= Count()) return;
  SetSelectionTo(index);
  pressed_ = true;
}

void ListBoxWindow::UserRelease(bool inside) {
  if (!pressed_) return;
  pressed_ = false;
  if (inside) Notify(LBN_SELCHANGE);
}

void ListBoxWindow::UserDoubleClick(int index) {
  // The second press of a double click does not notify again on its release.
  pressed_ = false;
  if (index < 0 || index >= Count()) return;
  SetSelectionTo(index);
  Notify(LBN_DBLCLK);
}

}  // namespace platform
