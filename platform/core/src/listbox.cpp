#include "platform/listbox.h"

#include <cstring>

namespace platform {

// The cleaning pass of a search deletes each row and inserts its new text at the same index.
// Done literally on a vector that is quadratic in the list's length, so a deletion only
// marks its slot (the "hole"); an insert at the same index fills it in place, and anything
// else completes the deletion first. Callers see exactly the classic behaviour.

ListBoxWindow::ListBoxWindow(int id, DWORD style, DWORD ex_style, RECT rect, Window* parent)
    : Window(WindowKind::ListBox, id, std::string(), style, ex_style, rect, parent) {}

int ListBoxWindow::Count() const {
  return static_cast<int>(rows_.size()) - (hole_ >= 0 ? 1 : 0);
}

const std::string& ListBoxWindow::Row(int index) const {
  FillHole();
  return rows_.at(static_cast<std::size_t>(index));
}

void ListBoxWindow::FillHole() const {
  if (hole_ < 0) return;
  rows_.erase(rows_.begin() + hole_);
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
  rows_.emplace_back(text != nullptr ? text : "");
  const int index = static_cast<int>(rows_.size()) - 1;
  if (View() != nullptr) View()->RowsInserted(index, 1);
  return index;
}

LRESULT ListBoxWindow::InsertString(WPARAM wparam, const char* text) {
  // The index arrives as WPARAM; -1 means "at the end".
  const auto index = static_cast<LRESULT>(static_cast<std::intptr_t>(wparam));
  const int count = Count();
  if (index < -1 || index > count) return LB_ERR;
  const int at = index == -1 ? count : static_cast<int>(index);
  if (at <= selection_ && selection_ >= 0) SetSelectionTo(selection_ + 1);
  if (hole_ >= 0 && at == hole_) {
    rows_[static_cast<std::size_t>(at)] = text != nullptr ? text : "";
    hole_ = -1;
    if (View() != nullptr) View()->RowsInserted(at, 1);
    return at;
  }
  FillHole();
  rows_.emplace(rows_.begin() + at, text != nullptr ? text : "");
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
  const std::string& row = Row(static_cast<int>(index));
  std::memcpy(buffer, row.c_str(), row.size() + 1);
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
  rows_.clear();
  hole_ = -1;
  selection_ = -1;
  if (View() != nullptr) View()->RowsReset();
}

void ListBoxWindow::SetSelectionTo(int index) {
  if (selection_ == index) return;
  selection_ = index;
  if (View() != nullptr) View()->SelectionChanged();
}

void ListBoxWindow::UserSelect(int index) {
  if (index < 0 || index >= Count() || index == selection_) return;
  SetSelectionTo(index);
  if ((Style() & LBS_NOTIFY) != 0) NotifyParent(LBN_SELCHANGE);
}

}  // namespace platform
